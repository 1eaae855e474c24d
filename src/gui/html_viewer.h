#pragma once

#include <QNetworkCookie>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QWebEngineView;

namespace gui {

// An embedded web page. It starts as an empty frame that keeps the address
// it is sent to: the browser engine is slow to start and heavy, so the window
// makes it (CreateBrowser) only once it is on the screen. Where the engine
// cannot run, the viewer stays that frame.
class HtmlViewer : public QWidget {
  Q_OBJECT

 public:
  explicit HtmlViewer(QWidget* parent);

  // Makes the browser in place of the frame and loads the last address sent;
  // once only.
  void CreateBrowser();

  const std::string& Address() const { return address_; }
  void Navigate(const std::string& address);
  // Deletes the cookies the browser holds that reach the host: its own and
  // its parent domains' (a cookie of ".example.com" goes for "www.example.com").
  // Before the browser exists there are none.
  void ClearCookies(const std::string& host);
  // Called with the percentage loaded while a page loads.
  void OnProgress(std::function<void(int)> handler);
  bool HasWebEngine() const { return view_ != nullptr; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWebEngineView* view_ = nullptr;
  // The store only tells what it adds and removes, so the viewer keeps the list.
  std::vector<QNetworkCookie> cookies_;
  std::string address_;
  std::function<void(int)> onProgress_;
};

// Whether this process can show pages with the browser engine: not when
// LANZHOU_NO_WEBENGINE is set (tests), on the minimal platform, or when the
// engine's helper process is not installed. Logs the reason to stderr the
// first time it answers no. Needs the QApplication.
bool WebEngineUsable();

// Settings the browser engine reads once, before the QApplication exists:
// no sandbox when running as root (Chromium refuses to start otherwise) and,
// on a machine without a GPU, software drawing with no OpenGL in the process.
void PrepareWebEngineEnvironment();

}  // namespace gui
