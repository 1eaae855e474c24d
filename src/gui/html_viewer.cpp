#include "gui/html_viewer.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace gui {
namespace {

bool EnvironmentSays(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' && std::string(value) != "0";
}

// Whether a cookie's domain reaches the host: the host itself or a parent
// domain of it.
bool CookieReaches(const QNetworkCookie& cookie, const QString& host) {
  QString domain = cookie.domain();
  if (domain.startsWith('.')) domain.remove(0, 1);
  return host.compare(domain, Qt::CaseInsensitive) == 0 ||
         host.endsWith("." + domain, Qt::CaseInsensitive);
}

QString WebEngineProcessPath() {
  const QByteArray fromEnvironment = qgetenv("QTWEBENGINEPROCESS_PATH");
  if (!fromEnvironment.isEmpty()) {
    return QString::fromLocal8Bit(fromEnvironment);
  }
  return QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/QtWebEngineProcess";
}

}  // namespace

HtmlViewer::HtmlViewer(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_StyledBackground);
  setAutoFillBackground(true);
  QPalette blank = palette();
  blank.setColor(QPalette::Window, Qt::white);
  setPalette(blank);
}

void HtmlViewer::CreateBrowser() {
  if (view_ != nullptr) {
    return;
  }
  view_ = new QWebEngineView(this);
  view_->setGeometry(rect());
  connect(view_, &QWebEngineView::loadProgress, this, [this](int percent) {
    if (onProgress_) {
      onProgress_(percent);
    }
  });
  QWebEngineCookieStore* store = view_->page()->profile()->cookieStore();
  connect(store, &QWebEngineCookieStore::cookieAdded, this,
          [this](const QNetworkCookie& cookie) { cookies_.push_back(cookie); });
  connect(store, &QWebEngineCookieStore::cookieRemoved, this, [this](const QNetworkCookie& cookie) {
    std::erase_if(cookies_,
                  [&](const QNetworkCookie& kept) { return kept.hasSameIdentifier(cookie); });
  });
  store->loadAllCookies();
  if (!address_.empty()) {
    view_->setUrl(QUrl::fromUserInput(QString::fromStdString(address_)));
  }
  view_->show();
}

void HtmlViewer::Navigate(const std::string& address) {
  address_ = address;
  if (view_ != nullptr) {
    view_->setUrl(QUrl::fromUserInput(QString::fromStdString(address)));
  }
}

void HtmlViewer::ClearCookies(const std::string& host) {
  if (view_ == nullptr) {
    return;
  }
  const QString target = QString::fromStdString(host);
  QWebEngineCookieStore* store = view_->page()->profile()->cookieStore();
  for (const QNetworkCookie& cookie : cookies_) {
    if (CookieReaches(cookie, target)) {
      store->deleteCookie(cookie);
    }
  }
  std::erase_if(cookies_,
                [&](const QNetworkCookie& cookie) { return CookieReaches(cookie, target); });
}

void HtmlViewer::OnProgress(std::function<void(int)> handler) { onProgress_ = std::move(handler); }

void HtmlViewer::resizeEvent(QResizeEvent* event) {
  if (view_ != nullptr) {
    view_->setGeometry(rect());
  }
  QWidget::resizeEvent(event);
}

bool WebEngineUsable() {
  static const bool usable = [] {
    if (EnvironmentSays("LANZHOU_NO_WEBENGINE")) {
      std::cerr << "lanzhou: web pages are off (LANZHOU_NO_WEBENGINE is set)\n";
      return false;
    }
    if (QGuiApplication::platformName() == "minimal") {
      std::cerr << "lanzhou: web pages are off: the minimal platform cannot show them\n";
      return false;
    }
    const QString process = WebEngineProcessPath();
    if (!QFileInfo(process).isExecutable()) {
      std::cerr << "lanzhou: web pages are off: " << process.toStdString() << " is missing\n";
      return false;
    }
    return true;
  }();
  return usable;
}

void PrepareWebEngineEnvironment() {
  if (::geteuid() == 0 && !EnvironmentSays("QTWEBENGINE_DISABLE_SANDBOX")) {
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  }
  std::error_code error;
  if (!std::filesystem::exists("/dev/dri", error)) {
    // Without a GPU, OpenGL is Mesa's software rasteriser, whose LLVM alone
    // holds some 60 MB of the window process: draw the pages in software
    // instead, and keep OpenGL out of the process altogether.
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    ::setenv("QT_QUICK_BACKEND", "software", 0);
    ::setenv("QT_XCB_GL_INTEGRATION", "none", 0);
  }
  // The web views share one GL context with the window; Qt wants this said
  // before the application object is made.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace gui
