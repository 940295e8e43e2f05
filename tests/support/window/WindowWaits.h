#pragma once
// Waits on the main window that several test classes share. Each fails the current test
// function past its deadline, as WaitUntil does, reported at the line that waited.

#include <QString>
#include <source_location>

namespace ebook {
class TBB1;
}

namespace ebook::test {

// Until no load runs in the window's browser. Returns at once in a window that has not
// started a load yet.
void WaitForPage(TBB1& window, std::source_location where = std::source_location::current());
// As WaitForPage, and also until a first page has loaded: in a window that has not started a
// load yet, this one waits for it.
void WaitForDocument(TBB1& window, std::source_location where = std::source_location::current());
// Until the browser shows `address` (a full address) and no load runs.
void WaitForLocation(TBB1& window, const QString& address,
                     std::source_location where = std::source_location::current());
// Opens `address` in the window's browser and waits for that load to end; returns whether the
// page loaded.
bool OpenAndWait(TBB1& window, const QString& address,
                 std::source_location where = std::source_location::current());
// Until the search of the search panel has ended: its button is enabled again.
void WaitForSearch(TBB1& window, std::source_location where = std::source_location::current());

}  // namespace ebook::test
