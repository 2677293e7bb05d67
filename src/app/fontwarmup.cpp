#include "app/fontwarmup.h"

#include <dlfcn.h>

FontWarmUp::FontWarmUp()
{
    // Looked up, not linked: the program keeps to the libraries Qt already brings.
    using Init = int (*)();
    const auto init = reinterpret_cast<Init>(::dlsym(RTLD_DEFAULT, "FcInit"));
    if (init)
        m_thread = std::thread(init);
}

FontWarmUp::~FontWarmUp()
{
    if (m_thread.joinable())
        m_thread.join();
}
