#pragma once
// Named values in an INI file: text, integers, flags, reals, byte streams, dates and times,
// each kept as text under a section and a key. No copy of the file is kept: every operation
// goes to the file at once, so one object serves one pass (all reads at start, all writes at
// exit) and is released right after it.

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTime>

#include <cstdint>
#include <optional>
#include <stdexcept>

class QIODevice;

namespace pellmora {

// A write the file refused: "Unable to write to %s" with the file's path.
class EIniFileException : public std::runtime_error {
  public:
    explicit EIniFileException(const QString& path);
    const QString& Message() const { return message_; }

  private:
    QString message_;
};

// The names the section listings deliver.
class TWideStrings {
  public:
    int Add(const QString& text);
    int Count() const { return static_cast<int>(items_.size()); }
    QString Get(int index) const {
        return index >= 0 && index < Count() ? items_[index] : QString();
    }
    void Clear() { items_.clear(); }

  private:
    QStringList items_;
};

class TCustomIniFile {
  public:
    // Reals, dates and times are written and read by the rules of locale.
    explicit TCustomIniFile(QString fileName, QLocale locale = QLocale::system());
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const QString& FileName() const { return fileName_; }
    const QLocale& Locale() const { return locale_; }

    // At most 2047 characters come back.
    virtual QString ReadText(const QString& section, const QString& key,
                             const QString& defaultValue) = 0;
    virtual void WriteText(const QString& section, const QString& key, const QString& value) = 0;
    virtual int32_t ReadNumber(const QString& section, const QString& key, int32_t defaultValue);
    virtual void WriteNumber(const QString& section, const QString& key, int32_t value);
    virtual bool ReadFlag(const QString& section, const QString& key, bool defaultValue);
    virtual void WriteFlag(const QString& section, const QString& key, bool value);
    // Decodes into stream at its position, which is then put back; returns the bytes from
    // there to the stream's end. stream must be open for reading and writing.
    virtual qint64 ReadHexStream(const QString& section, const QString& key, QIODevice& stream);
    virtual QDate ReadCalendarDate(const QString& section, const QString& key,
                                   const QDate& defaultValue);
    virtual QDateTime ReadDateAndTime(const QString& section, const QString& key,
                                      const QDateTime& defaultValue);
    virtual double ReadReal(const QString& section, const QString& key, double defaultValue);
    virtual QTime ReadClockTime(const QString& section, const QString& key,
                                const QTime& defaultValue);
    // Stores the bytes from the stream's position to its end; the position stays.
    virtual void WriteHexStream(const QString& section, const QString& key, QIODevice& stream);
    virtual void WriteCalendarDate(const QString& section, const QString& key, const QDate& value);
    virtual void WriteDateAndTime(const QString& section, const QString& key,
                                  const QDateTime& value);
    virtual void WriteReal(const QString& section, const QString& key, double value);
    virtual void WriteClockTime(const QString& section, const QString& key, const QTime& value);
    virtual void ListSectionKeys(const QString& section, TWideStrings& list) = 0;
    virtual void ListSections(TWideStrings& list) = 0;
    virtual void ListSectionPairs(const QString& section, TWideStrings& list) = 0;
    virtual void RemoveSection(const QString& section) = 0;
    virtual void RemoveKey(const QString& section, const QString& key) = 0;
    virtual void FlushFile() = 0;

    // The locale's general number form: up to 15 significant digits, no grouping.
    static QString RealText(double value, const QLocale& locale);
    static std::optional<double> ParseReal(const QString& text, const QLocale& locale);

  protected:
    // The whole stored text however long, or empty: a byte stream cut at 2047 characters
    // would lose its end.
    virtual QString ReadWholeText(const QString& section, const QString& key);

  private:
    QString fileName_;
    QLocale locale_;
};

class TIniFile final : public TCustomIniFile {
  public:
    using TCustomIniFile::TCustomIniFile;
    ~TIniFile() override;

    QString ReadText(const QString& section, const QString& key,
                     const QString& defaultValue) override;
    void WriteText(const QString& section, const QString& key, const QString& value) override;
    void ListSectionKeys(const QString& section, TWideStrings& list) override;
    void ListSections(TWideStrings& list) override;
    void ListSectionPairs(const QString& section, TWideStrings& list) override;
    void RemoveSection(const QString& section) override;
    void RemoveKey(const QString& section, const QString& key) override;
    void FlushFile() override;

  protected:
    QString ReadWholeText(const QString& section, const QString& key) override;

  private:
    std::string NativePath() const;
};

} // namespace pellmora
