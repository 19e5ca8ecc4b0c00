// Uses the installed headers and library the way a client module would.
#include <cstring>
#include <plinth/plinth.h>

int main() {
    plinth::CString text;
    text.Format("%d-%s", 42, "ok");
    plinth::FontVel font; // the font service's libraries come along with the library
    if (text != "42-ok" || font.CreateIndirect() == 0) {
        return 1;
    }
#ifdef CONSUMER_HAS_NOTE
    unsigned int size = 0;
    const unsigned char* note = plinth::ResourceManager::LoadResource("NOTE", "TEXT", size);
    if (note == nullptr || size != 9 || std::memcmp(note, "installed", 9) != 0) {
        return 2;
    }
#endif
    return 0;
}
