// Another program of the suite: asks the running import/export wizard, whose frame window is
// given in hexadecimal, to come to the front, and prints the answer.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HWND frame = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[1], nullptr, 16)));
    const UINT message = RegisterWindowMessageA("NV_IMPORT_EXPORT_ASSISTENT_MODAL");
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(frame, message, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer)) return 1;
    std::printf("answer %llu\n", static_cast<unsigned long long>(answer));
    return 0;
}
