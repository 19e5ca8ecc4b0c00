// A tour of the library: each section exercises one family of classes and prints what it
// computed.
#include <plinth/plinth.h>

#include <cstdio>

using namespace plinth;

int main() {
    CString title;
    title.Format("plinth %s", "demonstration");
    std::printf("%s\n", title.GetString());
    return 0;
}
