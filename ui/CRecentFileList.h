#pragma once

#include <QString>
#include <QStringList>

// The File menu's list of recently opened or saved documents, newest first, kept in the
// per-user settings between runs of the program.
class CRecentFileList {
public:
    static constexpr int kMaxEntries = 4;

    // organisation and application name the branch of the per-user settings.
    CRecentFileList(QString organisation, QString application);

    void ReadList();
    void WriteList() const;

    // Puts path first; an entry already in the list moves up instead of appearing twice,
    // and the oldest entry drops out beyond the maximum.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& Entries() const { return m_entries; }

private:
    QString m_organisation;
    QString m_application;
    QStringList m_entries;
};
