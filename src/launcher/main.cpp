// zovedit: the program users start. It loads nothing but the C++ library, so that `zovedit check
// FILE` answers at once for the usual file: when the quick checker vouches that the reader would
// read the whole file and show nothing else, the launcher prints the reader's "File read" line
// itself. Every other command, and every file the quick checker is unsure of, goes to the full
// program, zovedit-app beside this one, with the same arguments (standard input already read
// is handed on in memory). A file of the ISO dialect is the full program's to read: the quick
// checker knows only the 2001 dialect.
#include "cgif/dialect/DialectDetector.h"
#include "cgif/quick/InputText.h"
#include "cgif/quick/QuickCheck.h"
#include "launcher/LauncherInput.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    using namespace zov::launcher;
    // A file name that is not UTF-8 is the full program's to refuse, as it refuses it for import.
    if (argc == 3 && std::strcmp(argv[1], "check") == 0 && (std::strcmp(argv[2], "-") == 0 || argv[2][0] != '-') &&
        zov::cgif::quick::IsStrictUtf8(argv[2])) {
        const bool fromStandardInput = std::strcmp(argv[2], "-") == 0;
        CheckInput input(fromStandardInput ? nullptr : argv[2]);
        if (input.Ok()) {
            // The checker writes into what it reads; standard input is handed on unchanged.
            std::string copy;
            char* bytes = input.Data();
            if (fromStandardInput) {
                copy.assign(input.Data(), input.Size());
                bytes = copy.data();
            }
            const bool draft2001 = zov::cgif::dialect::DetectDialect(input.Data(), input.Size()) ==
                                   zov::cgif::dialect::Dialect::Draft2001;
            if (draft2001 &&
                zov::cgif::quick::QuickCheckCgif(bytes, input.Size()) == zov::cgif::quick::Verdict::Clean) {
                std::fputs("ZOVEdit: File read\n", stderr);
                return 0;
            }
        }
        if (fromStandardInput && !HandOnStandardInput(input.Data(), input.Size()))
            return 2;
    }
    return RunFullProgram(argv);
}
