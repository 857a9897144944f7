// TOLMPRED: the hyperbolic prediction of observed settlement.
#include <QApplication>
#include <filesystem>
#include <system_error>

#include "platform/apppath.hpp"
#include "platform/instance_lock.hpp"
#include "platform/qt/filedialog_qt.hpp"
#include "platform/qt/help_qt.hpp"
#include "platform/qt/messages_qt.hpp"
#include "platform/qt/process_qt.hpp"
#include "platform/qt/translations_qt.hpp"
#include "platform/settings.hpp"
#include "predict/window/f2.hpp"
#include "predict/window/graph_commands.hpp"
#include "shell/app_identity.hpp"
#include "shell/splash.hpp"
#include "shell/version_file.hpp"

int main(int argc, char** argv) {
    using namespace kova;
    QApplication app(argc, argv);
    InstallQtJapanese(app);  // without it the standard dialogs stay English
    const ShellApp& shell = TolmApp();
    QtMessages messages(shell.title);

    // One copy per user; when nobody can tell, the program runs.
    InstanceLock lock(InstanceLock::DefaultFile(shell.program));
    if (lock.Acquire() == LockResult::HeldElsewhere) {
        messages.Show(Message{"このアプリケーションは既に起動しています。", "ロードエラー", MsgIcon::Critical,
                              MsgButtons::Ok, 0});
        return 0;
    }

    const std::filesystem::path appPath = ResolveAppPath();
    std::error_code ec;
    std::filesystem::current_path(appPath, ec);
    const std::string version = ReadVersionText(appPath);

    SplashScreen splash(shell, version);
    splash.ShowNow();

    QtFileDialogs files;
    QtProcessRunner processes;
    QtHelpViewer help;
    IniSettings settings(IniSettings::DefaultFolder());
    files.RememberIn(&settings, TolmApp().storeApp);
    predict::PredictServices services{&messages, &files, &processes, &help, &settings, appPath, version};
    predict::f2 window(services);
    // The program folder may be the per-user one; the viewer lies beside
    // this program, or in the installation's helper folder.
    window.SetViewerDir(HelperDir());
    predict::GraphCommands graphs(window);
    messages.SetOwner(&window);
    files.SetOwner(&window);
    window.Form_Load();
    splash.close();
    window.show();
    // Settings that cannot be read leave the defaults; the user hears why.
    if (const std::string refused = settings.Refusal(TolmApp().storeApp); !refused.empty()) messages.Notify(refused);
    return app.exec();
}
