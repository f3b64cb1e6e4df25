// A writer of the measured-values block with benchdesk's dictionary and size,
// driven by its arguments, run in order:
//   attach              build a TMValWriter (creates the block when it is missing)
//   int ID V | float ID V | text ID T   store through SetVal
//   get ID TYPE         print "get <code> <value>"
//   slots               print "slots <header slot count>"
//   play FILE N         replay the first N records of a recorded flight, as benchdesk does
//   wait                print "ready" and wait until standard input closes
//   release             destroy the writer
//   unlink              remove the block's name
// Every step prints one line to standard output.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Threadmeassure.h"
#include "hkmeasure.h"
#include "shm.h"

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    std::unique_ptr<TMValWriter> writer;
    for (int i = 1; i < argc; ++i) {
        const char* cmd = argv[i];
        auto id = [&]() { return static_cast<uint32_t>(strtoul(argv[++i], nullptr, 0)); };
        if (!strcmp(cmd, "attach")) {
            writer = std::make_unique<TMValWriter>();
            printf("attach %d\n", MeasAttachment().UsingAsWriter);
        } else if (!writer && strcmp(cmd, "unlink") && strcmp(cmd, "wait")) {
            printf("%s no writer\n", cmd);
            return 2;
        } else if (!strcmp(cmd, "int") && i + 2 < argc) {
            uint32_t ch = id();
            printf("int %d\n", writer->SetVal(ch, static_cast<int32_t>(strtol(argv[++i], nullptr, 0))));
        } else if (!strcmp(cmd, "float") && i + 2 < argc) {
            uint32_t ch = id();
            printf("float %d\n", writer->SetVal(ch, strtof(argv[++i], nullptr)));
        } else if (!strcmp(cmd, "text") && i + 2 < argc) {
            uint32_t ch = id();
            printf("text %d\n", writer->SetVal(ch, argv[++i]));
        } else if (!strcmp(cmd, "get") && i + 2 < argc) {
            uint32_t ch = id();
            int32_t value;
            int rc = writer->GetVal(ch, value, atoi(argv[++i]));
            printf("get %d %d\n", rc, value);
        } else if (!strcmp(cmd, "play") && i + 2 < argc) {
            const char* file = argv[++i];
            const int n = atoi(argv[++i]);
            ValWriter = writer.get();
            int rc = OpenLoopFile(file);
            for (int k = 0; k < n && rc == 0; ++k) rc = PlayLoopRecord();
            CloseLoopFile();
            printf("play %d\n", rc);
        } else if (!strcmp(cmd, "slots")) {
            printf("slots %d\n", MeasAttachment().slots);
        } else if (!strcmp(cmd, "wait")) {
            printf("ready\n");
            char line[64];
            while (fgets(line, sizeof line, stdin)) {
            }
        } else if (!strcmp(cmd, "release")) {
            writer.reset();
            printf("release\n");
        } else if (!strcmp(cmd, "unlink")) {
            printf("unlink %d\n", ShmUnlink(ShmBlockName()));
        } else {
            printf("bad command %s\n", cmd);
            return 2;
        }
    }
    return 0;
}
