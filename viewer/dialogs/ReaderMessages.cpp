#include "viewer/dialogs/ReaderMessages.h"

#include <QMessageBox>
#include <QTimer>
#include <exception>

#include "platform/TerminationSignals.h"
#include "viewer/window/Application.h"

namespace ebook {

namespace {

MessageReporter& Reporter() {
  static MessageReporter reporter;
  return reporter;
}

void Show(MessageKind kind, const QString& text) {
  // A viewer asked to end opens no further box: the end must not wait for the reader.
  if (TerminationRequested()) return;
  const QString caption = Application::title();
  if (Reporter()) {
    Reporter()(kind, caption, text);
    return;
  }
  QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                  caption, text, QMessageBox::Ok);
  box.exec();
}

QString CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& error) {
    return QString::fromLocal8Bit(error.what());
  } catch (...) {
    return QStringLiteral("Unknown error.");
  }
}

}  // namespace

MessageReporter SetMessageReporter(MessageReporter reporter) {
  MessageReporter previous = std::move(Reporter());
  Reporter() = std::move(reporter);
  return previous;
}

void ShowMessage(const QString& text) { Show(MessageKind::Information, text); }

void ReportError(const QString& text) { Show(MessageKind::Error, text); }

void ReportCurrentException() {
  const QString text = CurrentExceptionText();
  try {
    ReportError(text);
  } catch (...) {
    // Nothing more can be done for an error raised while reporting an error.
  }
}

void RunGuardedDeferred(const std::function<void()>& action) noexcept {
  try {
    action();
  } catch (...) {
    const QString text = CurrentExceptionText();
    QTimer::singleShot(0, [text] { ReportError(text); });
  }
}

}  // namespace ebook
