#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QTranslator;

namespace sonvex {

class SettingsStore;

// Run-time language switching. English is built in; every "sonvex_<locale>.qm" compiled into the
// program (or found in the translations folder of the program's data) is offered. Switching
// installs the translator, which sends every window a LanguageChange; the choice is kept in the
// settings.
class Localizer : public QObject
{
    Q_OBJECT
public:
    explicit Localizer(SettingsStore* store, const QString& translationsFolder = {},
                       QObject* parent = nullptr);
    ~Localizer() override;

    // Locale names offered, "en" first.
    QStringList offeredLanguages() const;
    // The English name of a locale ("German").
    static QString englishName(const QString& localeName);
    QString current() const { return m_current; }
    // The file suffix of the language now in use ("de"; "en" for English).
    QString fileSuffix() const { return m_current; }

    // Installs the translation of `localeName` ("en" removes every translation). False when the
    // language is not offered; the language then stays as it was.
    bool switchTo(const QString& localeName);
    // The offered language matching the user's locale, else the one matching its language part.
    // Returns the language chosen, or empty when none matched (nothing changes then).
    QString selectSystemLanguage(const QString& systemLocaleName);
    // Applies the choice stored in the settings (start-up).
    void restoreStoredLanguage();

signals:
    void languageChanged(const QString& localeName);

private:
    QString qmPath(const QString& localeName) const;

    SettingsStore* m_store;
    QString m_folder;
    QString m_current = QStringLiteral("en");
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<QTranslator> m_qtTranslator;
};

} // namespace sonvex
