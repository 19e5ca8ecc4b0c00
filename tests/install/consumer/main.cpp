// Uses the installed headers and library the way a client module would.
#include <plinth/plinth.h>

int main() {
    plinth::CString text;
    text.Format("%d-%s", 42, "ok");
    return text == "42-ok" ? 0 : 1;
}
