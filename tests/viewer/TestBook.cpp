#include "TestBook.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QWebEnginePage>

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

void WaitUntil(const std::function<bool()>& done) {
  while (!done()) QTest::qWait(5);
}

QVariant RunScript(QWebEnginePage* page, const QString& script) {
  QVariant result;
  bool finished = false;
  page->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    finished = true;
  });
  WaitUntil([&] { return finished; });
  return result;
}

QVariant RunAsyncScript(QWebEnginePage* page, const QString& script) {
  RunScript(page, QStringLiteral("window.__result = undefined;") + script);
  QVariant result;
  WaitUntil([&] {
    result = RunScript(page, QStringLiteral("window.__result"));
    return result.isValid();
  });
  return result;
}

}  // namespace ebook::test
