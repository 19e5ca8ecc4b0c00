// Uses the installed headers and library the way a client module would.
#include <plinth/plinth.h>

int main() {
    plinth::CString text;
    text.Format("%d-%s", 42, "ok");
    plinth::FontVel font; // the font service's libraries come along with the library
    return text == "42-ok" && font.CreateIndirect() != 0 ? 0 : 1;
}
