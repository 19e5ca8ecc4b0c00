// A tour of the library: each section exercises one family of classes and prints what it
// computed.
#include "sections.h"

#include <cstdio>

int main() {
    std::printf("plinth demonstration\n");
    DemoNumeric();
    DemoIntervals();
    DemoArcs();
    DemoSets();
    DemoGrids();
    DemoArchive();
    DemoText();
    DemoComponents();
    DemoXml();
    DemoFonts();
    DemoModules();
    DemoBlob();
    DemoResources();
    return 0;
}
