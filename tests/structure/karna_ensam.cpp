// Linked with every object of pilkrona_core and nothing of the ui library, Qt
// Widgets or Print Support (tests/CMakeLists.txt): that it links at all is
// the check. A core file that uses a widget or a printer leaves a symbol
// that nothing here gives, and the build stops at this program.
int main() {
    return 0;
}
