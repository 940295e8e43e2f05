#pragma once
// Helpers for the viewer tests: books built with the archive writer and kept as the test's
// book (the book the tests hand the windows they make), messages recorded instead of shown,
// and waiting on the browser.

#include <QString>
#include <QVariant>
#include <chrono>
#include <functional>
#include <map>
#include <source_location>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "viewer/dialogs/ReaderMessages.h"

class QImage;
class QWebEnginePage;

namespace ebook::test {

// Makes `entries` the test's book; `rawTail`, already encoded entries, follows them.
void InstallBook(std::vector<BookEntry> entries, const std::string& rawTail = {});
// Makes `image` the test's book. The book is replaced in place: a window made earlier reads
// the new book from now on.
void InstallImage(BookImage image);
// The test's book (empty until a book is installed), to hand to the windows a test makes.
const BookImage& Book();

// A settings entry (XSE1.QRLC) from lines, joined with CR LF.
BookEntry SettingsEntry(const std::vector<std::string>& lines);

// A 34-switch option string with no switch set, then the given offsets set.
std::string Options(const std::map<size_t, char>& switches = {});

// A Windows bitmap of the given size.
std::string Bitmap(int width, int height);
// `image` as a Windows bitmap.
std::string BitmapOf(const QImage& image);

struct RecordedMessage {
  MessageKind kind;
  QString caption;
  QString text;
};
// Messages shown since the last ClearMessages; every message is recorded, none is shown.
const std::vector<RecordedMessage>& Messages();
void ClearMessages();
// Installs the recorder; `onMessage`, when set, runs for each message as it arrives.
void RecordMessages(std::function<void(const RecordedMessage&)> onMessage = {});

// Processes events until `done` holds; `what` names what is awaited ("the search to finish"),
// for the failure message "Timed out after N ms waiting for <what>": every wait names its own.
// Past `deadline` the current test function fails with that message and the wait returns
// false. Qt Test 6.4 aborts the whole run on an exception escaping a test function, so a
// timeout does not throw: later waits in an already failed function return false at once,
// and the function ends at its next QVERIFY/QCOMPARE (or `if (!WaitUntil(...)) return;`).
// The failure is reported at `where`, the line that waited.
inline constexpr std::chrono::milliseconds kWaitDeadline = std::chrono::seconds(60);
bool WaitUntil(const std::function<bool()>& done, const char* what,
               std::chrono::milliseconds deadline = kWaitDeadline,
               std::source_location where = std::source_location::current());

// The result of a script in the page.
QVariant RunScript(QWebEnginePage* page, const QString& script);
// Runs a script that stores its result in window.__result (possibly later), and waits for it.
QVariant RunAsyncScript(QWebEnginePage* page, const QString& script);

}  // namespace ebook::test
