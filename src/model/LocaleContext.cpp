#include "model/LocaleContext.h"

namespace pellmora {

LocaleContext::LocaleContext(const QLocale& locale) : format_(locale), collator_(locale) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

} // namespace pellmora
