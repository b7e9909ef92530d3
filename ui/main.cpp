#include "ProgramVersion.h"
#include "cli/StandardDescriptors.h"
#include "data/ShownText.h"
#include "ui/AppTexts.h"
#include "ui/CMorvaskApp.h"
#include "ui/DisplaySession.h"
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

static const char kHelp[] =
    "Usage: morvask [FILE]\n"
    "       morvask --check-install | --version | --help\n"
    "Makes the ADIF upload file adiUpld2Morvask.adi from a Qervel log kept under Wine, after the\n"
    "run settings are confirmed in its window. A FILE is opened as the document of the File menu.\n"
    "\n"
    "  --check-install  check, without a display, that the exporter beside this program starts\n"
    "                   and is of the same version\n"
    "  --version        print the version\n"
    "  --help           print this help\n"
    "\n"
    "The window needs a desktop session (X11 or Wayland). Without one, morvask-export makes\n"
    "the same file: see 'morvask-export --help' and 'man morvask'.\n";

int main(int argc, char* argv[]) {
    // The exporter writes its trace to the standard output it inherits from here.
    StandardDescriptors::Ensure();
    // These are answered before Qt looks for a display, so that they work on a machine or in a
    // session without one.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("morvask %s\n", kProgramVersion);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--check-install") == 0) {
        QCoreApplication core(argc, argv);
        const InstallCheck::Outcome outcome = InstallCheck::Run(CMorvaskApp::ExporterProgram(), kProgramVersion);
        std::fprintf(outcome.exitCode == 0 ? stdout : stderr, "%s\n", ShownText(outcome.text).c_str());
        return outcome.exitCode;
    }

    // Qt would end in an abort without a display; say instead what is needed.
    if (DisplaySession::Missing(DisplaySession::FromProcess(argc, argv))) {
        std::fprintf(stderr, "%s\n", DisplaySession::MissingText());
        return 1;
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
