#include "ui/CMorvaskDoc.h"

#include <QFile>
#include <QFileInfo>

void CMorvaskDoc::OnNewDocument() {
    m_strPathName.clear();
    m_bPathFromOpen = false;
}

void CMorvaskDoc::OnOpenDocument(const QString& path) {
    m_strPathName = QFileInfo(path).absoluteFilePath();
    m_bPathFromOpen = true;
}

QString CMorvaskDoc::OnSaveDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("Cannot save \"%1\": %2. Choose another folder or file name.")
            .arg(path, file.errorString());
    file.close();
    m_strPathName = QFileInfo(path).absoluteFilePath();
    m_bPathFromOpen = false;
    return {};
}
