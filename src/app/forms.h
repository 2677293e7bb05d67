#pragma once

#include <string>

class TForm1;
class TForm2;
class TAboutBox;
class THelpForm;

// The program's windows, each reachable program-wide through one reference, as the other
// windows write into the main window and the main window opens the others.
extern TForm1* Form1;
extern TForm2* Form2;
extern TAboutBox* AboutBox;
extern THelpForm* HelpForm;

// Creates the windows in their start-up order; only the main window is then shown. The start
// note (the launcher's, see StartArguments) goes into the main window's first message.
void createForms(const std::string& startNote = {});
void destroyForms();
