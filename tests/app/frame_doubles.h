// Stand-ins for the user and the conversions, recording what a frame did in
// one journal so tests can check the order of the steps.
#pragma once

#include "shell/window/conversions.h"
#include "shell/window/frame_ui.h"

#include <QApplication>
#include <QCursor>
#include <QStringList>

#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace enlazor::app::testing {

// Answers the file dialog from a queue (nothing queued: the user cancels).
class ScriptedUser final : public FrameUi {
public:
    explicit ScriptedUser(QStringList& journal) : journal_(journal) {}

    void will_confirm(const std::filesystem::path& path) { answers_.push_back(path); }
    void will_cancel() { answers_.push_back(std::nullopt); }

    // Runs while the next dialog is up, as events from elsewhere would.
    std::function<void()> while_dialog_open;

    std::optional<std::filesystem::path> choose_saga_document() override {
        journal_ << QStringLiteral("dialog");
        if (auto happening = std::exchange(while_dialog_open, nullptr))
            happening();
        if (answers_.empty())
            return std::nullopt;
        auto answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void show_message(const std::string& text) override {
        journal_ << QStringLiteral("message: ") + QString::fromStdString(text);
    }
    void show_error(const std::string& text) override {
        journal_ << QStringLiteral("error: ") + QString::fromStdString(text);
    }
    // The hourglass as the window shows it, so the conversions can see it.
    void begin_wait() override { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    void end_wait() override { QApplication::restoreOverrideCursor(); }

private:
    QStringList& journal_;
    std::deque<std::optional<std::filesystem::path>> answers_;
};

// Records each conversion with the file it got and whether the hourglass
// was up; `failure` (when set) is thrown instead of converting.
class RecordingConversions final : public Conversions {
public:
    explicit RecordingConversions(QStringList& journal) : journal_(journal) {}

    std::function<void()> failure;

    void run_export(const std::filesystem::path& saga_document) override {
        record(QStringLiteral("export"), saga_document);
    }
    void run_import(const std::filesystem::path& saga_document) override {
        record(QStringLiteral("import"), saga_document);
    }

private:
    void record(const QString& direction, const std::filesystem::path& saga_document) {
        const QCursor* cursor = QApplication::overrideCursor();
        const bool hourglass = cursor && cursor->shape() == Qt::WaitCursor;
        journal_ << direction + QStringLiteral(" ") + QString::fromStdString(saga_document.string()) +
                        (hourglass ? QStringLiteral(" (hourglass)") : QStringLiteral(" (no hourglass)"));
        if (failure)
            failure();
    }

    QStringList& journal_;
};

} // namespace enlazor::app::testing
