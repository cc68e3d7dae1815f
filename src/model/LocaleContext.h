#pragma once
// The one locale a search and its views are shown in: numbers and dates are written with
// Format(), names and folders are ordered by Collator(). Both come from one QLocale so that they
// never disagree; main() and pellmora-scan build it once from the system locale.

#include <QCollator>
#include <QLocale>

namespace pellmora {

class LocaleContext {
  public:
    explicit LocaleContext(const QLocale& locale);

    const QLocale& Format() const { return format_; }
    // Case is ignored; a C locale compares case-folded code points.
    const QCollator& Collator() const { return collator_; }

  private:
    QLocale format_;
    QCollator collator_;
};

} // namespace pellmora
