#pragma once
// Waits on the main window that several test classes share. Each fails the current test
// function past its deadline, as WaitUntil does.

#include <QString>

namespace ebook {
class TBB1;
}

namespace ebook::test {

// Until no load runs in the window's browser. Returns at once in a window that has not
// started a load yet.
void WaitForPage(TBB1& window);
// As WaitForPage, and also until a first page has loaded: in a window that has not started a
// load yet, this one waits for it.
void WaitForDocument(TBB1& window);
// Until the browser shows `address` (a full address) and no load runs.
void WaitForLocation(TBB1& window, const QString& address);
// Opens `address` in the window's browser and waits for that load to end; returns whether the
// page loaded.
bool OpenAndWait(TBB1& window, const QString& address);
// Until the search of the search panel has ended: its button is enabled again.
void WaitForSearch(TBB1& window);

}  // namespace ebook::test
