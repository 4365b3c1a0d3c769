#pragma once
// The readers' slow cases need large inputs: a target that includes this
// runs with inputs up to 1 MB unless the command line sets its own -max_len.

#include <cstring>
#include <vector>

inline void Fuzz_Default_Max_Len(int* argc, char*** argv)
{
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0)
            return;
    static char option[] = "-max_len=1048576";
    static std::vector<char*> args;
    args.assign(*argv, *argv + *argc);
    args.push_back(option);
    args.push_back(nullptr);
    *argv = args.data();
    *argc = int(args.size()) - 1;
}

#define MORV_FUZZ_MAX_LEN_1MB                                                                                          \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)                                                       \
    {                                                                                                                  \
        Fuzz_Default_Max_Len(argc, argv);                                                                              \
        return 0;                                                                                                      \
    }
