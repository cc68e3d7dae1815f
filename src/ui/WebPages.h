#pragma once
// The product's pages ship with the program and open from beside the executable; support
// mail goes to the user's mail program.

#include <QString>
#include <QUrl>

#include <functional>

namespace pellmora {

// Opens an address in the user's browser or mail program; the result is ignored.
using UrlOpener = std::function<void(const QUrl&)>;

UrlOpener DesktopUrlOpener();

QUrl ProductPageUrl(const QString& page); // "help.html", "index.html", "donation.html"
QUrl SupportMailUrl();

QString ProductSiteText();
QString SupportMailAddress();

} // namespace pellmora
