#include "ui/CRecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Recent File List");

QString EntryKey(int index) { return QStringLiteral("File%1").arg(index + 1); }
}  // namespace

CRecentFileList::CRecentFileList(QString organisation, QString application)
    : m_organisation(std::move(organisation)), m_application(std::move(application)) {}

void CRecentFileList::ReadList() {
    QSettings settings(m_organisation, m_application);
    settings.beginGroup(kSection);
    m_entries.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings.value(EntryKey(i)).toString();
        if (!path.isEmpty() && !m_entries.contains(path)) m_entries.append(path);
    }
}

void CRecentFileList::WriteList() const {
    QSettings settings(m_organisation, m_application);
    settings.remove(kSection);
    settings.beginGroup(kSection);
    for (int i = 0; i < m_entries.size(); ++i) settings.setValue(EntryKey(i), m_entries[i]);
}

void CRecentFileList::Add(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    m_entries.removeAll(full);
    m_entries.prepend(full);
    while (m_entries.size() > kMaxEntries) m_entries.removeLast();
}

void CRecentFileList::Remove(const QString& path) { m_entries.removeAll(path); }
