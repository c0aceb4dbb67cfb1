// One libFuzzer target: GLEAMCARD_FUZZ_BODY names the body it runs.
#include "Fuzz_Bodies.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz_Setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Fuzz_Body body = Fuzz_Body_Named(GLEAMCARD_FUZZ_BODY);
    return body(data, size);
}
