// The help bridge: a viewer that turns every help request of the program
// into an HTML Help call on SAGA.chm, and a tester that makes the platform's
// WinHelp viewer decline everything, so HTML Help always answers.
#pragma once

#include "shell/help/help_system.h"
#include "shell/system/html_help.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace enlazor::help {

class TStoHtmlHelpViewer : public IExtendedHelpViewer, public IHelpSelector {
public:
    // `html_help` is the loaded entry point (empty when no viewer is
    // installed); `application_help_file` gives the application's help file
    // name; `executable_dir` is where a bare help file name is looked for.
    TStoHtmlHelpViewer(HtmlHelpEntryPoint html_help, std::function<std::string()> application_help_file,
                       std::filesystem::path executable_dir);
    ~TStoHtmlHelpViewer() override;

    // Registration hands back the help system link.
    void set_help_manager(IHelpManager* manager) { help_manager_ = manager; }
    int viewer_id() const { return viewer_id_; }

    // ICustomHelpViewer
    std::string GetViewerName() override;
    int UnderstandsKeyword(const std::string& keyword) override;
    std::vector<std::string> GetHelpStrings(const std::string& keyword) override;
    bool CanShowTableOfContents() override;
    void ShowTableOfContents() override;
    void ShowHelp(const std::string& help_string) override;
    void NotifyID(int viewer_id) override;
    void SoftShutDown() override;
    void ShutDown() override;

    // IExtendedHelpViewer
    bool UnderstandsTopic(const std::string& topic) override;
    void DisplayTopic(const std::string& topic) override;
    bool UnderstandsContext(int context, const std::string& help_file) override;
    void DisplayHelpContext(int context, const std::string& help_file) override;

    // IHelpSelector
    int SelectKeyword(const std::vector<std::string>& keywords) override;
    int TableOfContents(const std::vector<std::string>& contents) override;

    // The help file every request works on: the link's current name, else
    // the application's, with the executable's folder put in front of a bare name.
    std::string resolved_help_file() const;

    static constexpr const char* kViewerName = "StoHtmlHelp";
    static constexpr const char* kDefaultTopicExtension = ".htm";

private:
    void call(unsigned command, const std::string& file, const HtmlHelpData& data) const;

    HtmlHelpEntryPoint html_help_;
    std::function<std::string()> application_help_file_;
    std::filesystem::path executable_dir_;
    IHelpManager* help_manager_ = nullptr;
    int viewer_id_ = -1;
};

// Installed as the WinHelp viewer's tester: it declines every request.
class TStoWinHelpTester {
public:
    bool CanShowALink(const std::string& link, const std::string& file) const;
    bool CanShowTopic(const std::string& topic, const std::string& file) const;
    bool CanShowContext(int context, const std::string& file) const;
    std::vector<std::string> GetHelpStrings(const std::string& link) const;
    std::string GetHelpPath() const;
    std::string GetDefaultHelpFile() const;
};

// The platform's WinHelp viewer, which asks its tester before it takes a
// request. There is no WinHelp on Linux: were it ever picked, it shows nothing.
class WinHelpViewer : public IExtendedHelpViewer {
public:
    explicit WinHelpViewer(std::shared_ptr<TStoWinHelpTester> tester) : tester_(std::move(tester)) {}
    std::string GetViewerName() override { return "WinHelp"; }
    int UnderstandsKeyword(const std::string& keyword) override;
    std::vector<std::string> GetHelpStrings(const std::string& keyword) override;
    bool CanShowTableOfContents() override { return true; }
    void ShowTableOfContents() override {}
    void ShowHelp(const std::string&) override {}
    void NotifyID(int) override {}
    void SoftShutDown() override {}
    void ShutDown() override {}
    bool UnderstandsTopic(const std::string& topic) override;
    void DisplayTopic(const std::string&) override {}
    bool UnderstandsContext(int context, const std::string& help_file) override;
    void DisplayHelpContext(int, const std::string&) override {}

private:
    std::shared_ptr<TStoWinHelpTester> tester_;
};

// True when the text from the name's last "." on is ".chm", ignoring case.
bool is_chm_file(const std::string& name);

// The topic as shown: ".htm" appended unless it already ends in .htm or .html.
std::string topic_with_extension(const std::string& topic);

// The help set-up of the program: the WinHelp viewer with our tester, then
// the bridge, registered in that order, the bridge as selector.
struct HelpBridge {
    HelpSystem system;
    std::shared_ptr<TStoWinHelpTester> tester;
    std::shared_ptr<WinHelpViewer> winhelp;
    std::shared_ptr<TStoHtmlHelpViewer> viewer;
};
std::unique_ptr<HelpBridge> make_help_bridge(HtmlHelpEntryPoint html_help, const std::string& application_help_file,
                                             std::filesystem::path executable_dir);

} // namespace enlazor::help
