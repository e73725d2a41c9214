#include "shell/help/help_system.h"

#include <algorithm>

namespace enlazor::help {

IHelpManager* HelpSystem::RegisterViewer(std::shared_ptr<ICustomHelpViewer> viewer) {
    const int id = next_id_++;
    viewers_.push_back({id, viewer});
    viewer->NotifyID(id);
    return this;
}

void HelpSystem::AssignHelpSelector(std::shared_ptr<IHelpSelector> selector) {
    selector_ = std::move(selector);
}

void HelpSystem::Release(int viewer_id) {
    std::erase_if(viewers_, [viewer_id](const Entry& e) { return e.id == viewer_id; });
}

bool HelpSystem::ShowContextHelp(int context, const std::string& help_file) {
    current_help_file_ = help_file;
    for (const Entry& e : viewers_) {
        auto extended = std::dynamic_pointer_cast<IExtendedHelpViewer>(e.viewer);
        if (extended && extended->UnderstandsContext(context, help_file)) {
            extended->DisplayHelpContext(context, help_file);
            return true;
        }
    }
    return false;
}

bool HelpSystem::ShowTableOfContents() {
    std::vector<std::shared_ptr<ICustomHelpViewer>> able;
    for (const Entry& e : viewers_)
        if (e.viewer->CanShowTableOfContents())
            able.push_back(e.viewer);
    if (able.empty())
        return false;
    if (able.size() == 1 || !selector_) {
        able.front()->ShowTableOfContents();
        return true;
    }
    // Several could: the selector picks one among their sorted names.
    std::vector<std::string> names;
    for (const auto& v : able)
        names.push_back(v->GetViewerName());
    std::sort(names.begin(), names.end());
    const int picked = selector_->TableOfContents(names);
    if (picked < 0 || picked >= static_cast<int>(names.size()))
        return false;
    for (const auto& v : able) {
        if (v->GetViewerName() == names[picked]) {
            v->ShowTableOfContents();
            return true;
        }
    }
    return false;
}

bool HelpSystem::ShowHelp(const std::string& keyword) {
    std::vector<std::shared_ptr<ICustomHelpViewer>> able;
    for (const Entry& e : viewers_)
        if (e.viewer->UnderstandsKeyword(keyword) > 0)
            able.push_back(e.viewer);
    if (able.empty())
        return false;
    if (able.size() == 1 || !selector_) {
        able.front()->ShowHelp(keyword);
        return true;
    }
    // Several accept it: collect their strings, sort them, let the selector
    // pick, and hand the picked string to the viewer it came from.
    std::vector<std::pair<std::string, std::shared_ptr<ICustomHelpViewer>>> strings;
    for (const auto& v : able)
        for (std::string& s : v->GetHelpStrings(keyword))
            strings.emplace_back(std::move(s), v);
    std::stable_sort(strings.begin(), strings.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> texts;
    for (const auto& s : strings)
        texts.push_back(s.first);
    const int picked = selector_->SelectKeyword(texts);
    if (picked < 0 || picked >= static_cast<int>(strings.size()))
        return false;
    strings[picked].second->ShowHelp(strings[picked].first);
    return true;
}

bool HelpSystem::ShowTopicHelp(const std::string& topic, const std::string& help_file) {
    current_help_file_ = help_file;
    for (const Entry& e : viewers_) {
        auto extended = std::dynamic_pointer_cast<IExtendedHelpViewer>(e.viewer);
        if (extended && extended->UnderstandsTopic(topic)) {
            extended->DisplayTopic(topic);
            return true;
        }
    }
    return false;
}

void HelpSystem::HelpCommand(unsigned command, std::uintptr_t) {
    current_help_file_ = application_help_file_;
    if (command == HELP_CONTENTS) {
        ShowTableOfContents();
    } else if (command == HELP_QUIT) {
        for (const Entry& e : viewers_)
            e.viewer->SoftShutDown();
    }
}

void HelpSystem::ShutDown() {
    // Copy first: a viewer's ShutDown may release itself from the list.
    std::vector<Entry> viewers = viewers_;
    for (const Entry& e : viewers)
        e.viewer->ShutDown();
}

} // namespace enlazor::help
