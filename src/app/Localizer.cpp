#include "app/Localizer.h"

#include "data/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sonvex {

namespace {
const QString kEnglish = QStringLiteral("en");
}

Localizer::Localizer(SettingsStore* store, const QString& translationsFolder, QObject* parent)
    : QObject(parent), m_store(store), m_folder(translationsFolder)
{
}

Localizer::~Localizer()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
}

QString Localizer::qmPath(const QString& localeName) const
{
    const QString file = QStringLiteral("sonvex_%1.qm").arg(localeName);
    if (!m_folder.isEmpty() && QFileInfo::exists(QDir(m_folder).filePath(file)))
        return QDir(m_folder).filePath(file);
    if (QFileInfo::exists(QStringLiteral(":/i18n/") + file))
        return QStringLiteral(":/i18n/") + file;
    return {};
}

QStringList Localizer::offeredLanguages() const
{
    QStringList names{kEnglish};
    QStringList files =
        QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("sonvex_*.qm")}, QDir::Files);
    if (!m_folder.isEmpty())
        files << QDir(m_folder).entryList({QStringLiteral("sonvex_*.qm")}, QDir::Files);
    for (const QString& f : files) {
        const QString name = f.mid(7, f.size() - 7 - 3);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

QString Localizer::englishName(const QString& localeName)
{
    const QLocale locale(localeName);
    QString name = QLocale::languageToString(locale.language());
    if (localeName.contains(u'_'))
        name += QStringLiteral(" (") + QLocale::territoryToString(locale.territory()) + u')';
    return name;
}

bool Localizer::switchTo(const QString& localeName)
{
    if (!offeredLanguages().contains(localeName))
        return false;
    auto translator = std::make_unique<QTranslator>();
    if (localeName != kEnglish && !translator->load(qmPath(localeName)))
        return false;
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
    m_translator.reset();
    m_qtTranslator.reset();
    if (localeName != kEnglish) {
        // The toolkit's own texts (standard buttons) when that translation is installed.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QStringLiteral("qtbase_") + localeName,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt.get());
            m_qtTranslator = std::move(qt);
        }
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
    }
    // Installing and removing translators sends every window a LanguageChange.
    m_current = localeName;
    if (m_store)
        m_store->setLanguage(localeName);
    emit languageChanged(localeName);
    return true;
}

QString Localizer::selectSystemLanguage(const QString& systemLocaleName)
{
    const QStringList offered = offeredLanguages();
    const QString full = QLocale(systemLocaleName).name(); // "de_DE"
    QString chosen;
    if (offered.contains(full))
        chosen = full;
    else if (offered.contains(full.section(u'_', 0, 0)))
        chosen = full.section(u'_', 0, 0);
    if (!chosen.isEmpty() && chosen != m_current)
        switchTo(chosen);
    return chosen;
}

void Localizer::restoreStoredLanguage()
{
    if (!m_store)
        return;
    const QString stored = m_store->language();
    if (!stored.isEmpty() && stored != m_current)
        switchTo(stored);
}

} // namespace sonvex
