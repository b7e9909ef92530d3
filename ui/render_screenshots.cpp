// Renders the run-settings dialog and the main window after a run into PNG files, for the
// README. Usage: render_screenshots OUTDIR, with WINEPREFIX naming an installation whose
// settings file points at a logging database; the exporter is taken from next to this
// program.

#include "settings/CRunSettingsDlg.h"
#include "ui/CMainFrame.h"
#include "ui/CMorvaskApp.h"
#include "ui/CMorvaskView.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

// The dialog as the user sees it at start, accepted as it stands.
class AcceptedAsShown : public CRunSettingsDlg {
public:
    using CRunSettingsDlg::CRunSettingsDlg;
    bool DoModal() override {
        OnInitDialog();
        accept();
        return true;
    }
};

bool Save(QWidget& widget, const QString& path) {
    widget.show();
    QApplication::processEvents();
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    CMorvaskApp app;
    // A picture of a failure is no picture of the program at work.
    bool failed = false;
    app.SetMessageSink([&failed](const QString& text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        failed = true;
    });
    app.SetUrlOpener([](const QUrl&) {});

    {
        CRunSettingsDlg dialog(app.Prefix(), app.Icon());
        dialog.OnInitDialog();
        if (!Save(dialog, out.filePath(QStringLiteral("run-settings-dialog.png")))) return 1;
    }

    app.SetDialogFactory([&app] { return std::make_unique<AcceptedAsShown>(app.Prefix(), app.Icon()); });
    if (!app.InitInstance()) return 1;
    app.MainFrame()->View()->OnMakeAdiFile();
    if (failed || !Save(*app.MainFrame(), out.filePath(QStringLiteral("main-window.png")))) return 1;
    return 0;
}
