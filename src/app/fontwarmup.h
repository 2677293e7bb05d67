#pragma once

#include <thread>

// Fontconfig's first use reads its configuration and font caches, about a quarter of the
// time to the first frame. The first window needs fonts only once the application is set
// up, so a thread has fontconfig read them meanwhile, on the other core. Qt then finds
// fontconfig ready; where it is not loaded (another font backend) nothing happens.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread m_thread;
};
