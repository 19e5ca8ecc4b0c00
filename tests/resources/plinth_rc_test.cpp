// plinth-rc run as a user runs it, on copies of the tests' module.
#include "support/module_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

using ResourceTool = ModuleFiles;

struct ToolRun {
    int status;
    std::string output; // standard output and standard error
};

ToolRun Tool(const std::string& arguments) {
    const std::string command = std::string(PLINTH_RC) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ToolRun run{-1, {}};
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST_F(ResourceTool, RoundTripsResourcesThroughAModuleFile) {
    const std::string module = CopyModule();
    const std::string input = Put("input.bin", std::string("\0\x01 data \xff", 9));
    const std::string empty = Put("empty.bin", "");

    EXPECT_EQ(Tool("list " + module).output,
              "BIN\tEMPTY\t1033\t0\nBIN\tLOGO\t1033\t20\n#10\t#7\t1033\t5\n");
    EXPECT_EQ(Tool("add " + module + " DATA '#5' " + input).status, 0);
    EXPECT_EQ(Tool("add " + module + " DATA NOTHING " + empty + " --language 0").status, 0);
    EXPECT_EQ(Tool("extract " + module + " data '#5' " + Path("out.bin")).status, 0);
    EXPECT_EQ(Get(Path("out.bin")), Get(input));
    EXPECT_EQ(Tool("extract " + module + " bin logo").output, Embedded("logo.bin"));
    EXPECT_EQ(Tool("replace " + module + " BIN LOGO " + input).status, 0);
    EXPECT_EQ(Tool("extract " + module + " BIN LOGO -").output, Get(input));
    EXPECT_EQ(Tool("remove " + module + " '#10' '#7'").status, 0);
    EXPECT_EQ(Tool("list " + module).output,
              "BIN\tEMPTY\t1033\t0\nBIN\tLOGO\t1033\t9\nDATA\tNOTHING\t0\t0\nDATA\t#5\t1033\t9\n");
}

TEST_F(ResourceTool, ExplainsWhatWentWrong) {
    const std::string module = CopyModule();
    const std::string before = Get(module);
    const std::string text = Put("notes.txt", "not a module");
    const struct {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"", 2, "no command given"},
        {"frobnicate " + module, 2, "unknown command frobnicate"},
        {"list", 2, "wrong number of arguments for list"},
        {"add " + module + " BIN LOGO", 2, "wrong number of arguments for add"},
        {"list " + module + " --verbose", 2, "unknown option --verbose"},
        {"list " + module + " --language 70000", 2, "--language needs a number"},
        {"list " + text, 1, "not an executable or shared object"},
        {"list " + Path("missing.so"), 1, "No such file or directory"},
        {"add " + module + " BIN LOGO " + text, 1, "exists already (use replace)"},
        {"replace " + module + " BIN NONE " + text, 1, "does not exist"},
        {"remove " + module + " BIN LOGO --language 1031", 1, "does not exist"},
        {"extract " + module + " BIN NONE", 1, "does not exist"},
        {"add " + module + " BIN NEW " + Path("missing.bin"), 1, "No such file or directory"},
        {"add " + module + " BIN '#99999' " + text, 1, "Invalid argument"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Tool(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.output.find(c.message), std::string::npos)
            << c.arguments << ": " << run.output;
    }
    EXPECT_EQ(Get(module), before);
    const ToolRun help = Tool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("usage: plinth-rc <command>", 0), 0u);
}

} // namespace
