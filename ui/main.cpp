#include "ProgramVersion.h"
#include "cli/StandardDescriptors.h"
#include "ui/AppTexts.h"
#include "ui/CMorvaskApp.h"
#include "ui/InstallCheck.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <string_view>

// The version data shown to the user and the build's version are kept in two places; they
// must not part.
static_assert(std::string_view(AppTexts::kNumericVersion) == kProgramVersion,
              "AppTexts::kNumericVersion differs from the project version in CMakeLists.txt");

int main(int argc, char* argv[]) {
    // The exporter writes its trace to the standard output it inherits from here.
    StandardDescriptors::Ensure();
    // Both are answered before Qt looks for a display, so that they work on a machine or in a
    // session without one.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("morvask %s\n", kProgramVersion);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--check-install") == 0) {
        QCoreApplication core(argc, argv);
        const InstallCheck::Outcome outcome = InstallCheck::Run(CMorvaskApp::ExporterProgram(), kProgramVersion);
        std::fprintf(outcome.exitCode == 0 ? stdout : stderr, "%s\n", outcome.text.c_str());
        return outcome.exitCode;
    }

    QApplication qtApp(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(AppTexts::kSettingsOrganisation));
    QCoreApplication::setApplicationName(QString::fromLatin1(AppTexts::kAppTitle));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(AppTexts::kNumericVersion));
    qtApp.setDesktopFileName(QStringLiteral("org.morvask.morvask"));

    CMorvaskApp app;
    QApplication::setWindowIcon(app.Icon());
    if (!app.InitInstance(QCoreApplication::arguments().mid(1))) return 0;
    const int code = QApplication::exec();
    app.ExitInstance();
    return code;
}
