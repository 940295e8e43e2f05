#pragma once
// Messages to the reader: modal boxes with one OK button, captioned with the application
// title. Everything the viewer tells the reader goes through here, so a test (or the
// screenshot mode, which has nobody to press OK) can replace the boxes with a reporter of its
// own.

#include <QString>
#include <functional>

namespace ebook {

enum class MessageKind { Information, Error };

using MessageReporter =
    std::function<void(MessageKind kind, const QString& caption, const QString& text)>;

// Replaces how messages are shown; an empty reporter restores the message boxes. Returns the
// reporter that was in place.
MessageReporter SetMessageReporter(MessageReporter reporter);

// A message from the book (start and close messages, link commands).
void ShowMessage(const QString& text);
// An error the viewer could not handle where it happened.
void ReportError(const QString& text);

// Reports the exception being handled; call only inside a catch block.
void ReportCurrentException();

// Runs `action`, reporting any exception that leaves it. For code called back by the browser
// engine, where an exception must never unwind into the engine and a modal box must not open
// inside the callback: the report is shown once control is back in the event loop.
void RunGuardedDeferred(const std::function<void()>& action) noexcept;

}  // namespace ebook
