#pragma once
// The desktop's property sheet of a file, asked of the file manager over the session bus.

#include <QString>
#include <QUrl>

namespace pellmora {

// Shows the desktop's property sheet for a file; whatever the desktop then does is its own
// business, so nothing is reported back.
class FilePropertiesService {
  public:
    virtual ~FilePropertiesService() = default;
    virtual void ShowItemProperties(const QUrl& file) = 0;
};

// org.freedesktop.FileManager1 on the session bus. The call is sent without waiting for the
// answer: a file manager that is slow to start, or none at all, never holds up the window.
class FileManagerService final : public FilePropertiesService {
  public:
    // The session bus, or the Qt D-Bus connection of that name.
    explicit FileManagerService(QString connectionName = QString());
    void ShowItemProperties(const QUrl& file) override;

  private:
    QString connectionName_;
};

} // namespace pellmora
