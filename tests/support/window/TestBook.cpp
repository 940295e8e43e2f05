#include "support/window/TestBook.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QImage>
#include <QTest>
#include <QWebEnginePage>
#include <memory>

namespace ebook::test {
namespace {

BookImage& TestImage() {
  static BookImage image;
  return image;
}

}  // namespace

void InstallBook(std::vector<BookEntry> entries, const std::string& rawTail) {
  SortInBookOrder(entries);
  InstallImage(BookImage::FromBytes(EncodeArchive(entries) + rawTail));
}

void InstallImage(BookImage image) { TestImage() = std::move(image); }

const BookImage& Book() { return TestImage(); }

BookEntry SettingsEntry(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return {"XSE1.QRLC", text};
}

std::string Options(const std::map<size_t, char>& switches) {
  std::string options(34, '-');
  for (const auto& [offset, value] : switches) options[offset] = value;
  return options;
}

std::string Bitmap(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  return BitmapOf(image);
}

std::string BitmapOf(const QImage& image) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return buffer.data().toStdString();
}

namespace {
std::vector<RecordedMessage>& Store() {
  static std::vector<RecordedMessage> messages;
  return messages;
}
}  // namespace

const std::vector<RecordedMessage>& Messages() { return Store(); }

void ClearMessages() { Store().clear(); }

void RecordMessages(std::function<void(const RecordedMessage&)> onMessage) {
  SetMessageReporter([onMessage](MessageKind kind, const QString& caption, const QString& text) {
    Store().push_back({kind, caption, text});
    if (onMessage) onMessage(Store().back());
  });
}

bool WaitUntil(const std::function<bool()>& done, const char* what,
               std::chrono::milliseconds deadline, std::source_location where) {
  QDeadlineTimer timer(deadline);
  while (!done()) {
    // Once the test function has failed, further waits in it return at once: the function
    // runs on to its next check (or its end) instead of spending a deadline on each wait.
    if (QTest::currentTestFailed()) return false;
    if (timer.hasExpired()) {
      const std::string message = "Timed out after " + std::to_string(deadline.count()) +
                                  " ms waiting for " + what;
      QTest::qFail(message.c_str(), where.file_name(), static_cast<int>(where.line()));
      return false;
    }
    QTest::qWait(5);
  }
  return true;
}

QVariant RunScript(QWebEnginePage* page, const QString& script) {
  // Shared with the callback: after a timed-out wait the result may still arrive later.
  struct Outcome {
    QVariant result;
    bool finished = false;
  };
  const auto outcome = std::make_shared<Outcome>();
  page->runJavaScript(script, [outcome](const QVariant& value) {
    outcome->result = value;
    outcome->finished = true;
  });
  WaitUntil([&] { return outcome->finished; }, "a script's result");
  return outcome->result;
}

QVariant RunAsyncScript(QWebEnginePage* page, const QString& script) {
  RunScript(page, QStringLiteral("window.__result = undefined;") + script);
  QVariant result;
  WaitUntil([&] {
    result = RunScript(page, QStringLiteral("window.__result"));
    return result.isValid();
  }, "a script to store window.__result");
  return result;
}

}  // namespace ebook::test
