// KOVACALC: the section editor.
#include <QApplication>
#include <string>

#include "editor/main_window.hpp"
#include "platform/apppath.hpp"
#include "platform/qt/filedialog_qt.hpp"
#include "platform/qt/help_qt.hpp"
#include "platform/qt/messages_qt.hpp"
#include "platform/qt/process_qt.hpp"
#include "platform/qt/screen_qt.hpp"
#include "platform/qt/translations_qt.hpp"
#include "shell/app_identity.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kova::InstallQtJapanese(app);  // without it the standard dialogs stay English
    QApplication::setFont(kova::FormFont("ＭＳ Ｐゴシック", 9));
    std::string cmdLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) cmdLine += ' ';
        cmdLine += argv[i];
    }
    kova::QtMessages messages(kova::KovaApp().title);
    kova::QtFileDialogs files;
    kova::QtProcessRunner processes;
    kova::IniSettings settings(kova::IniSettings::DefaultFolder());
    files.RememberIn(&settings, kova::KovaApp().storeApp);
    kova::QtHelpViewer help;

    kova::EditorDeps deps;
    deps.messages = &messages;
    deps.files = &files;
    deps.processes = &processes;
    deps.settings = &settings;
    deps.help = &help;
    deps.appPath = kova::ResolveAppPath();
    // The program folder may be the per-user one; the programs it starts
    // lie beside this one, or in the installation's helper folder.
    deps.engineProgram = kova::HelperDir() / "SETLCORE";
    deps.programDir = kova::HelperDir();
    deps.lockFile = kova::InstanceLock::DefaultFile("KOVACALC");
    deps.cmdLine = cmdLine;

    kova::Form1 form(deps);
    messages.SetOwner(&form);
    files.SetOwner(&form);
    if (!form.Load()) return 0;
    form.show();
    // Settings that cannot be read leave the defaults; the user hears why.
    if (const std::string refused = settings.Refusal(kova::KovaApp().storeApp); !refused.empty())
        messages.Notify(refused);
    return app.exec();
}
