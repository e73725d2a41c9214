// The application's help system: a dispatcher that passes every help request
// to the viewers registered with it, in the way the help bridge relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace enlazor::help {

// WinHelp-style commands the application sends.
enum WinHelpCommand : unsigned { HELP_QUIT = 2, HELP_CONTENTS = 3 };

// What a viewer can ask of the help system.
class IHelpManager {
public:
    virtual ~IHelpManager() = default;
    virtual std::string GetHelpFile() const = 0;      // the name that came with the latest request
    virtual std::uintptr_t GetHandle() const = 0;     // owner window for help windows
    virtual void Release(int viewer_id) = 0;          // the viewer leaves
};

class ICustomHelpViewer {
public:
    virtual ~ICustomHelpViewer() = default;
    virtual std::string GetViewerName() = 0;
    virtual int UnderstandsKeyword(const std::string& keyword) = 0;
    virtual std::vector<std::string> GetHelpStrings(const std::string& keyword) = 0;
    virtual bool CanShowTableOfContents() = 0;
    virtual void ShowTableOfContents() = 0;
    virtual void ShowHelp(const std::string& help_string) = 0;
    virtual void NotifyID(int viewer_id) = 0;
    virtual void SoftShutDown() = 0;
    virtual void ShutDown() = 0;
};

class IExtendedHelpViewer : public ICustomHelpViewer {
public:
    virtual bool UnderstandsTopic(const std::string& topic) = 0;
    virtual void DisplayTopic(const std::string& topic) = 0;
    virtual bool UnderstandsContext(int context, const std::string& help_file) = 0;
    virtual void DisplayHelpContext(int context, const std::string& help_file) = 0;
};

class IHelpSelector {
public:
    virtual ~IHelpSelector() = default;
    virtual int SelectKeyword(const std::vector<std::string>& keywords) = 0;
    virtual int TableOfContents(const std::vector<std::string>& contents) = 0;
};

// The dispatcher. Viewers are asked in order of registration.
class HelpSystem : public IHelpManager {
public:
    // Registers a viewer: gives it its number, returns the link to this system.
    IHelpManager* RegisterViewer(std::shared_ptr<ICustomHelpViewer> viewer);
    void AssignHelpSelector(std::shared_ptr<IHelpSelector> selector);

    // The application's help file name (used when a request names none).
    void set_application_help_file(const std::string& name) { application_help_file_ = name; }
    const std::string& application_help_file() const { return application_help_file_; }

    // Requests. Each returns true when some viewer took it.
    bool ShowContextHelp(int context, const std::string& help_file);
    bool ShowTableOfContents();
    bool ShowHelp(const std::string& keyword);
    bool ShowTopicHelp(const std::string& topic, const std::string& help_file);
    void HelpCommand(unsigned command, std::uintptr_t data);  // HELP_CONTENTS, HELP_QUIT

    // Ends every viewer (program end).
    void ShutDown();

    // IHelpManager
    std::string GetHelpFile() const override { return current_help_file_; }
    std::uintptr_t GetHandle() const override { return 0; }  // no window ever learnt
    void Release(int viewer_id) override;

private:
    struct Entry {
        int id;
        std::shared_ptr<ICustomHelpViewer> viewer;
    };
    std::vector<Entry> viewers_;
    std::shared_ptr<IHelpSelector> selector_;
    std::string application_help_file_;
    std::string current_help_file_;
    int next_id_ = 0;
};

} // namespace enlazor::help
