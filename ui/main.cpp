#include "cli/StandardDescriptors.h"
#include "ui/AppTexts.h"
#include "ui/CMorvaskApp.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[]) {
    // The exporter writes its trace to the standard output it inherits from here.
    StandardDescriptors::Ensure();
    QApplication qtApp(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(AppTexts::kSettingsOrganisation));
    QCoreApplication::setApplicationName(QString::fromLatin1(AppTexts::kAppTitle));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(AppTexts::kNumericVersion));
    // The version texts travel with the program as its metadata.
    qtApp.setProperty("FileVersion", QString::fromLatin1(AppTexts::kFileVersion));
    qtApp.setProperty("ProductVersion", QString::fromLatin1(AppTexts::kFileVersion));
    qtApp.setProperty("FileDescription", QString::fromLatin1(AppTexts::kFileDescription));
    qtApp.setProperty("InternalName", QString::fromLatin1(AppTexts::kInternalName));
    qtApp.setProperty("ProductName", QString::fromLatin1(AppTexts::kProductName));
    qtApp.setDesktopFileName(QStringLiteral("morvask"));

    CMorvaskApp app;
    QApplication::setWindowIcon(app.Icon());
    if (!app.InitInstance(QCoreApplication::arguments().mid(1))) return 0;
    const int code = QApplication::exec();
    app.ExitInstance();
    return code;
}
