#pragma once

#include "support/tempdir.h"
#include "support/ui/scriptedprompter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Starts the program's windows in a folder of the test's own, as the program starts, with
// every prompt answered from the script. Counts the redraws that commands ask for.
class MainWindowTest : public ::testing::Test {
protected:
    void start(const std::optional<std::string>& bulletFile = std::nullopt,
               const char* name = "Bullets.vx!");
    void TearDown() override;

    // Rows with these velocities, numbered from 1, energies from the weight.
    void fillVelocities(const std::vector<const char*>& velocities, const std::string& weight);
    std::vector<std::string> column(std::size_t col) const;
    QStringList labels() const;

    TempDir dir;
    // The launcher's note, as the command line gives it; set before start().
    std::string startNote;
    std::unique_ptr<CurrentDir> cwd;
    ScriptedPrompter prompter;
    int redraws = 0;
};
