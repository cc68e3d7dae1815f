#pragma once
// The product's pages ship with the program and open as local files; support mail goes to the
// user's mail program.

#include "actions/ShellServices.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace pellmora {

// Opens addresses in the user's browser, file browser or mail program.
UrlOpener DesktopUrlOpener();

// The folders searched for the pages, in order: beside the executable (a build folder or a
// portable copy), then the installed data folder relative to it (bin/../share/pellmora), so an
// install into a DESTDIR or a moved prefix finds its own pages.
QStringList ProductPageDirs(const QString& applicationDir);
// The first existing copy of the page; beside the executable when there is none.
QString ProductPagePath(const QString& applicationDir, const QString& page);

QUrl ProductPageUrl(const QString& page); // "help.html", "index.html", "donation.html"
QUrl SupportMailUrl();

QString ProductSiteText();
QString SupportMailAddress();

} // namespace pellmora
