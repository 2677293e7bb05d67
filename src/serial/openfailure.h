#pragma once

#include <string>

// Why a port would not open, in words a person acts on: the device path, then the reason
// (no such device, in use by another program, permission denied and which group to join).
// `error` is the errno the opening failed with; `group` the device's owning group as
// deviceGroup() reports it, "" when unknown.
std::string openFailureReason(const std::string& path, int error, const std::string& group);

// The same for the port name `port` ("ttyUSB0" or a path), asking the system for the group.
std::string explainOpenFailure(const std::string& port, int error);
