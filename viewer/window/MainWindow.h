#pragma once
// TBB1, the main window (instance BB1): toolbar Panel1, side panel Panel2 (TocPanel and
// SearchPanel) with Splitter1, the browser control WebBrowser1 and the auto-advance Timer1.
//
// The window shows the book it is handed (the program entry hands it the process's book,
// tests the books they build); the book outlives the window. Everything the window reads the
// book through gets that book from it: the request handler (BookNamespace), the settings, the
// contents, the toolbar pictures, the bookmark, the search over all pages and temp-folder
// extraction.
//
// Creation (FormCreate) turns the book's settings into a configured window showing the first
// page; FormClose saves the bookmark, FormDestroy removes what creation set up. The methods
// live in several files by concern:
//   MainWindow.cpp        creation steps, show, close, destroy
//   MainWindowLayout.cpp  the controls and their layout
//   SidePanels.cpp        Panel2's two panels: creating and switching them, the find bar,
//                         auto-advance, and the window's names for the panels' handlers
//                         (they forward)
//   WindowFrame.cpp       size, border style, placement and caption buttons
//   Bookmark.cpp          the per-user bookmark store
//   Toolbar.cpp           set_toolbar and the toolbar's buttons
//   Navigation.cpp        the navigation buttons, the browser control's events, the focus
//   LinkCommands.cpp      the commands book pages run through their links
//   PageDelivery.cpp      protocol mode and temp-folder mode
//   Shortcuts.cpp         keyboard, zoom and accessible names
// The panels own their controls and state (viewer/panels/ContentsPanel.h, SearchPanel.h); the
// window keeps pointers to those controls under their layout names, set once when the panels
// are created.

#include <QIcon>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/BookSettings.h"
#include "viewer/panels/ContentsPanel.h"
#include "viewer/panels/SearchPanel.h"
#include "viewer/widgets/TTreeViewEx.h"

class QLabel;
class QSettings;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTimer;
class QToolButton;
class QTreeWidget;
class QVBoxLayout;
class QWebEngineProfile;

namespace ebook {

class BookImage;
class BookNamespace;
class FindBar;
struct LinkCommand;
class TBB2;
class WebBrowser;

class TBB1 : public QWidget {
  Q_OBJECT
 public:
  // `book`: the book shown, which must outlive the window. `commandLinePage`: the process's
  // first argument, a page name ("" for none).
  explicit TBB1(const BookImage& book, const QString& commandLinePage = {},
                QWidget* parent = nullptr);
  ~TBB1() override;

  // The book this window shows.
  const BookImage& book() const { return book_; }

  // Controls, named as in the window's layout.
  QWidget* Panel1 = nullptr;
  std::array<QToolButton*, 13> SpeedButton{};  // SpeedButton[1] ... SpeedButton[12]; [0] unused
  QLabel* Image1 = nullptr;
  QWidget* Panel2 = nullptr;
  // The contents panel and its controls (SpeedButton[11] is its close button).
  ContentsPanel* TocPanel = nullptr;
  QLabel* TocLabel = nullptr;
  TTreeViewEx* TOCtree = nullptr;
  QList<QIcon> ImagesVST2;  // TOCtree's pictures: closed book, open book, page
  // The search panel and its controls (SpeedButton[10] is its close button).
  ebook::SearchPanel* SearchPanel = nullptr;
  QLabel* SearchLabel = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* Button2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;
  QLabel* Label2 = nullptr;
  QTreeWidget* SearchTree = nullptr;
  QLabel* Label3 = nullptr;
  QSplitter* Splitter1 = nullptr;
  WebBrowser* WebBrowser1 = nullptr;
  QTimer* Timer1 = nullptr;
  bool Timer1Enabled = false;  // enabled, though an interval of 0 never fires
  TBB2* BB2 = nullptr;         // the About box, attached by the program entry

  // Book state, fixed once creation has ended.
  ebook::BookSettings BookSettings;
  QString BookBaseUrl;
  bool ProtocolMode = false;
  QString StartAddress;  // the address creation navigated to ("" when none)

  // Navigation state (filled by the navigation handlers).
  bool CanGoBack = false;
  bool CanGoForward = false;
  bool FirstDocumentDone = false;
  std::string TocTarget;

  // The name of the per-book group in the bookmark store: title and number, nothing between.
  QString BookmarkKey() const;

  void SpeedButton8Click();  // About
  void SpeedButton9Click();  // Exit
  void set_toolbar(int buttonWidth, int buttonHeight);
  void doregistry();
  void bookmarkLAST();
  void set_offline(bool offline);
  void focus_browser();

  // The side panels (SidePanels.cpp); the contents' handlers forward to TocPanel.
  void extract_olista();
  void listaNext();
  void listaBack();
  void listaSync();
  void Timer1Timer();  // auto-advance: the next contents node
  void openContentsPanel();
  void SpeedButton10Click();  // closes the side panel
  void SpeedButton12Click();  // Contents
  void TOCtreeChange(TTreeViewEx::Node* node);
  void TOCtreeGetImageIndex(TTreeViewEx::Node* node);
  void TOCtreeGetSelectedIndex(TTreeViewEx::Node* node);
  void TOCtreeRequestDataSize(TTreeViewEx::Node* node, int32_t* size);

  // Navigation and link commands (Navigation.cpp, LinkCommands.cpp), the logo (Toolbar.cpp).
  void SpeedButton1Click();  // Back
  void SpeedButton2Click();  // Next
  void SpeedButton3Click();  // Reload
  void SpeedButton4Click();  // Home
  void SpeedButton5Click();  // Stop
  void SpeedButton6Click();  // Search
  void SpeedButton7Click();  // Print
  void Image1Click();
  // Runs `command` of the current document's command target; command 7 of the standard group
  // (useBrowserGroup false) is the print preview. Nothing without a document; errors dropped.
  void exec_command(bool useBrowserGroup, uint32_t command);

  // The search over all pages forwards to SearchPanel; Button2 opens the find bar over the
  // page shown (SidePanels.cpp).
  void Button1Click();
  void Edit1KeyPress(QObject* Sender, char& Key);  // Key 13 (Enter) searches and becomes 0
  void Button2Click();
  void SearchTreeClick();
  FindBar* FindBar1 = nullptr;  // created when first opened

 signals:
  // The window has closed; the program entry ends the message loop.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate(const QString& commandLinePage);
  void FormShow();
  void FormClose();
  void FormDestroy();

  void createControls();
  void createToolbarPanel();
  void createTocPanel();
  void createSearchPanel();

  // Controls and book state only the window itself uses.
  QLabel* Label1 = nullptr;
  QString PagesFoundWords = QStringLiteral("Pages found");  // Label3: "3 Pages found"
  QString SavedBookmark;
  bool UseTOC = false;
  bool UseTOCauto = false;
  void putToolbarAtBottom();
  void showLogo();

  void applyOuterSize(int width, int height);
  void applyBorderStyle();
  void centreOnScreen();
  void matchOuterSize();

  void setTimer1Enabled(bool on);

  bool extractBookToTemp();
  void deleteTempBook();
  void registerNamespace();
  void unregisterNamespace();
  void showFirstPage(const QString& address);
  void waitForFirstPage();
  void selectFirstTocNode();

  void webbrowser1BeforeNavigate2(const QString& URL, bool isMainFrame, bool* Cancel);
  void webbrowser1CommandStateChange(int command, bool enable);
  void webbrowser1DocumentComplete(const QString& URL);
  void webbrowser1PrintRequested();
  void resumeAutoAdvance();
  void runLinkCommand(const LinkCommand& command);

  const BookImage& book_;
  QVBoxLayout* layout_ = nullptr;
  QIcon logo_;  // Image1's picture
  QWebEngineProfile* profile_ = nullptr;
  BookNamespace* namespace_ = nullptr;
  QSize outerSize_;
  bool fixedSize_ = false;
  bool shownOnce_ = false;
  bool destroyed_ = false;
  std::string tempFolder_;  // temp-folder mode: the extracted book's folder, "/"-terminated
  bool closingOnRequest_ = false;
  // The last page of the book that loaded (or was scrolled to by its fragment): what the
  // bookmark keeps. Outside pages and failed loads never become it.
  QString lastBookPage_;
  void noteShownPage(const QString& URL, bool loaded);
  bool showBoxOpen_ = false;  // a SHOW# box is open: further SHOW# are dropped

 public:
  // Closes through the normal close and destroy steps when the session ends or the process is
  // asked to terminate: the bookmark is saved and a temporary folder deleted, but no close
  // message holds up the shutdown.
  void closeOnRequest();

  // Keyboard, zoom and accessible names (Shortcuts.cpp).
  double zoom() const;
  void setZoom(double factor);
  void stepZoom(int direction);

 private:
  void createShortcuts();
  void escapePressed();
  void setAccessibleNames();
  void restoreZoom(QSettings& bookGroup);
  void saveZoom(QSettings& bookGroup) const;
  void restoreReaderPreferences();
  void saveReaderPreferences();

 private:
  FindBar* findBar();
};

}  // namespace ebook
