#include "Translations.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace zadw {
namespace {

// Debian's Swedish catalogue keeps the standard button texts under the older QDialogButtonBox
// context, while this Qt asks for them under QPlatformTheme; look there too.
class SwedishTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && qstrcmp(context, "QPlatformTheme") == 0) {
            text = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
        }
        return text;
    }
};

} // namespace

bool installSwedishTranslations(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : {QStringLiteral("qtbase_sv"), QStringLiteral("qt_sv")}) {
        auto* translator = new SwedishTranslator(&app);
        if (translator->load(name, folder)) {
            app.installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

} // namespace zadw
