#pragma once

#include <string>
#include <vector>

// Replaces `list` by the serial ports present, sorted case-insensitively: tty devices
// backed by hardware under `sysClassTty` (ttyS* only with a real UART), and symbolic links
// directly in `dev` that lead to a pseudo-terminal (virtual ports made by socat). No port
// at all gives an empty list; a tree that cannot be read raises EComPort 23 with errno.
void ListComPorts(std::vector<std::string>& list, const std::string& sysClassTty = "/sys/class/tty",
                  const std::string& dev = "/dev");
