#include "shell/help/sto_html_help.h"

#include "storage/text.h"

namespace enlazor::help {

namespace {

std::string trim_control(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

bool has_folder_part(const std::string& name) {
    return name.find_first_of("/\\:") != std::string::npos;
}

} // namespace

bool is_chm_file(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && ascii_lower(name.substr(dot)) == ".chm";
}

std::string topic_with_extension(const std::string& topic) {
    // The extension is the text from the last "." when no folder separator
    // follows it.
    std::string extension;
    const std::size_t dot = topic.rfind('.');
    if (dot != std::string::npos && topic.find_first_of("\\:/", dot) == std::string::npos)
        extension = ascii_lower(topic.substr(dot));
    if (extension == ".htm" || extension == ".html")
        return topic;
    return topic + TStoHtmlHelpViewer::kDefaultTopicExtension;
}

TStoHtmlHelpViewer::TStoHtmlHelpViewer(HtmlHelpEntryPoint html_help,
                                       std::function<std::string()> application_help_file,
                                       std::filesystem::path executable_dir)
    : html_help_(std::move(html_help)),
      application_help_file_(std::move(application_help_file)),
      executable_dir_(std::move(executable_dir)) {}

TStoHtmlHelpViewer::~TStoHtmlHelpViewer() = default;

std::string TStoHtmlHelpViewer::resolved_help_file() const {
    std::string name = help_manager_ ? help_manager_->GetHelpFile() : std::string{};
    if (name.empty() && application_help_file_)
        name = application_help_file_();
    if (!name.empty() && !has_folder_part(name))
        name = (executable_dir_ / name).string();
    return name;
}

void TStoHtmlHelpViewer::call(unsigned command, const std::string& file, const HtmlHelpData& data) const {
    // Without a viewer installed help does nothing visible: no window, no message.
    if (!html_help_)
        return;
    if (command == HH_CLOSE_ALL) {
        html_help_(0, {}, command, std::uintptr_t{0});
        return;
    }
    html_help_(help_manager_ ? help_manager_->GetHandle() : 0, file, command, data);
}

std::string TStoHtmlHelpViewer::GetViewerName() { return kViewerName; }

int TStoHtmlHelpViewer::UnderstandsKeyword(const std::string&) {
    return is_chm_file(resolved_help_file()) ? 1 : 0;
}

std::vector<std::string> TStoHtmlHelpViewer::GetHelpStrings(const std::string& keyword) {
    return {std::string(kViewerName) + ": " + keyword};
}

bool TStoHtmlHelpViewer::CanShowTableOfContents() { return true; }

void TStoHtmlHelpViewer::ShowTableOfContents() {
    const std::string file = resolved_help_file();
    if (is_chm_file(file))
        call(HH_DISPLAY_TOC, file, std::uintptr_t{0});
}

void TStoHtmlHelpViewer::ShowHelp(const std::string& help_string) {
    const std::string file = resolved_help_file();
    if (!is_chm_file(file))
        return;
    // A picked "StoHtmlHelp: K" loses its prefix; a bare keyword stays whole.
    const std::size_t colon = help_string.find(':');
    const std::string keyword = trim_control(colon == std::string::npos ? help_string : help_string.substr(colon + 1));
    call(HH_DISPLAY_INDEX, file, keyword);
}

void TStoHtmlHelpViewer::NotifyID(int viewer_id) { viewer_id_ = viewer_id; }

void TStoHtmlHelpViewer::SoftShutDown() { call(HH_CLOSE_ALL, {}, std::uintptr_t{0}); }

void TStoHtmlHelpViewer::ShutDown() {
    SoftShutDown();
    if (help_manager_) {
        IHelpManager* manager = help_manager_;
        help_manager_ = nullptr;
        manager->Release(viewer_id_);
    }
}

bool TStoHtmlHelpViewer::UnderstandsTopic(const std::string&) {
    return is_chm_file(resolved_help_file());
}

void TStoHtmlHelpViewer::DisplayTopic(const std::string& topic) {
    const std::string file = resolved_help_file();
    if (is_chm_file(file))
        call(HH_DISPLAY_TOPIC, file + "::/" + topic_with_extension(topic), std::uintptr_t{0});
}

bool TStoHtmlHelpViewer::UnderstandsContext(int, const std::string& help_file) {
    return is_chm_file(help_file);
}

void TStoHtmlHelpViewer::DisplayHelpContext(int context, const std::string&) {
    const std::string file = resolved_help_file();
    if (is_chm_file(file))
        call(HH_HELP_CONTEXT, file, static_cast<std::uintptr_t>(context));
}

int TStoHtmlHelpViewer::SelectKeyword(const std::vector<std::string>& keywords) {
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const std::string& entry = keywords[i];
        if (entry.substr(0, entry.find(':')) == kViewerName)
            return static_cast<int>(i);
    }
    return 0;
}

int TStoHtmlHelpViewer::TableOfContents(const std::vector<std::string>& contents) {
    for (std::size_t i = 0; i < contents.size(); ++i)
        if (fold_case(contents[i]) == fold_case(kViewerName))
            return static_cast<int>(i);
    return -1;
}

bool TStoWinHelpTester::CanShowALink(const std::string&, const std::string&) const { return false; }
bool TStoWinHelpTester::CanShowTopic(const std::string&, const std::string&) const { return false; }
bool TStoWinHelpTester::CanShowContext(int, const std::string&) const { return false; }
std::vector<std::string> TStoWinHelpTester::GetHelpStrings(const std::string& link) const { return {": " + link}; }
std::string TStoWinHelpTester::GetHelpPath() const { return {}; }
std::string TStoWinHelpTester::GetDefaultHelpFile() const { return {}; }

int WinHelpViewer::UnderstandsKeyword(const std::string& keyword) {
    return tester_ && tester_->CanShowALink(keyword, {}) ? 1 : 0;
}

std::vector<std::string> WinHelpViewer::GetHelpStrings(const std::string& keyword) {
    return tester_ ? tester_->GetHelpStrings(keyword) : std::vector<std::string>{keyword};
}

bool WinHelpViewer::UnderstandsTopic(const std::string& topic) {
    return tester_ && tester_->CanShowTopic(topic, {});
}

bool WinHelpViewer::UnderstandsContext(int context, const std::string& help_file) {
    return tester_ && tester_->CanShowContext(context, help_file);
}

std::unique_ptr<HelpBridge> make_help_bridge(HtmlHelpEntryPoint html_help, const std::string& application_help_file,
                                             std::filesystem::path executable_dir) {
    auto bridge = std::make_unique<HelpBridge>();
    bridge->system.set_application_help_file(application_help_file);
    bridge->tester = std::make_shared<TStoWinHelpTester>();
    bridge->winhelp = std::make_shared<WinHelpViewer>(bridge->tester);
    HelpSystem* system = &bridge->system;
    bridge->viewer = std::make_shared<TStoHtmlHelpViewer>(
        std::move(html_help), [system] { return system->application_help_file(); }, std::move(executable_dir));
    bridge->system.RegisterViewer(bridge->winhelp);
    bridge->viewer->set_help_manager(bridge->system.RegisterViewer(bridge->viewer));
    bridge->system.AssignHelpSelector(bridge->viewer);
    return bridge;
}

} // namespace enlazor::help
