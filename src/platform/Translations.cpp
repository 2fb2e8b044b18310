// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include "EmbeddedFile.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

extern const zadw::EmbeddedFile zadw_qt_catalogues[];
extern const std::size_t zadw_qt_catalogues_count;

namespace zadw {
namespace {

// Debian's catalogues keep the standard button texts under the older QDialogButtonBox context,
// while this Qt asks for them under QPlatformTheme; look there too.
class QtTranslator : public QTranslator {
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

bool installTranslations(QCoreApplication& app, const std::string& language) {
    const QString lang = QString::fromStdString(language);
    QLocale::setDefault(QLocale(lang));
    if (language == "en") {
        return true; // Qt's own texts are English
    }
    // Debian's catalogue first; the project's, installed last, is asked first and fills the gaps.
    bool found = false;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : {QStringLiteral("qtbase_"), QStringLiteral("qt_")}) {
        auto* translator = new QtTranslator(&app);
        if (translator->load(name + lang, folder)) {
            app.installTranslator(translator);
            found = true;
            break;
        }
        delete translator;
    }
    const std::string own = "qt_" + language;
    for (std::size_t i = 0; i < zadw_qt_catalogues_count; ++i) {
        const EmbeddedFile& f = zadw_qt_catalogues[i];
        if (own != f.name) {
            continue;
        }
        auto* translator = new QtTranslator(&app);
        if (translator->load(f.bytes, static_cast<int>(f.size))) {
            app.installTranslator(translator);
            found = true;
        } else {
            delete translator;
        }
    }
    return found;
}

} // namespace zadw
