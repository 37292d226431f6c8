// Inkett.exe: imports the transfer file named on the command line. Its
// only window is the hidden owner of its message boxes. Exit code 0 when
// the file was imported, 1 otherwise; "/silent <file>" shows no box and
// ends with one code per reason (transfer/Inkett.h).
#include "shared/system/CommandLine.h"
#include "shared/system/win32/WindowlessShell.h"
#include "transfer/Inkett.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tidemark::windowless::WindowlessProcess process(instance, L"frmInkett");
        const std::string arguments = tidemark::argumentsOf(process.platform.process.commandLine());
        if (const auto rest = tidemark::transfer::silentArgument(arguments))
            return tidemark::transfer::inkettExitCode(tidemark::transfer::runSilentInkett(process.platform, *rest));
        const auto outcome = tidemark::transfer::runInkett(process.platform, process.window.native());
        return outcome == tidemark::transfer::InkettOutcome::Imported ? 0 : 1;
    } catch (...) {
        return 1;
    }
}
