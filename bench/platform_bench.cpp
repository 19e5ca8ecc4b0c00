// Text through the XML service in the "C" locale: 1 MiB of ASCII against 1 MiB of bytes
// above ASCII (every one of them converted on the way in and out), put into an element and
// read back.
#include "plinth/platform/xmldom.h"

#include <benchmark/benchmark.h>

#include <clocale>
#include <string>

using namespace plinth;

namespace {

constexpr std::size_t kTextBytes = std::size_t{1} << 20;

void BM_XmlTextRoundTrip(benchmark::State& state) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    std::string text(kTextBytes, 'e');
    if (state.range(0) != 0) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<char>(0x80 + i % 0x80);
        }
    }
    IXMLDOMDocumentPtr doc;
    doc.CreateInstance();
    IXMLDOMElementPtr root = doc->documentNode()->appendElement("R");
    for (auto _ : state) {
        root->put_text(text.c_str());
        benchmark::DoNotOptimize(root->text().GetLength());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTextBytes));
    state.SetLabel(state.range(0) != 0 ? "above ASCII" : "ASCII");
    std::setlocale(LC_CTYPE, saved.c_str());
}
BENCHMARK(BM_XmlTextRoundTrip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
