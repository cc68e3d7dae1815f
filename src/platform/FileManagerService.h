#pragma once
// The desktop's property sheet of a file, asked of the file manager over the session bus.

#include <QString>
#include <QUrl>

namespace pellmora {

// Shows the desktop's property sheet for a file. False when no file manager is there to take
// the request; whatever one that took it then does is its own business.
class FilePropertiesService {
  public:
    virtual ~FilePropertiesService() = default;
    virtual bool ShowItemProperties(const QUrl& file) = 0;
};

// org.freedesktop.FileManager1 on the session bus. Whether a file manager owns the name, or the
// bus can start one, is asked of the bus itself, which answers at once; the call is then sent
// without waiting for its answer: a file manager that is slow to start never holds up the
// window.
class FileManagerService final : public FilePropertiesService {
  public:
    // The session bus, or the Qt D-Bus connection of that name.
    explicit FileManagerService(QString connectionName = QString());
    bool ShowItemProperties(const QUrl& file) override;

  private:
    QString connectionName_;
};

} // namespace pellmora
