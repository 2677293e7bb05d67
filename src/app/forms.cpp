#include "app/forms.h"

#include "app/startuptrace.h"
#include "app/tform1.h"
#include "bullets/tform2.h"
#include "help/taboutbox.h"
#include "help/thelpform.h"
#include "serial/ui/comsetupfrm.h"
#include "ui/errorreport.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TAboutBox* AboutBox = nullptr;
THelpForm* HelpForm = nullptr;

void createForms(const std::string& startNote)
{
    installComSetupDialog();
    Form1 = new TForm1(startNote);
    startupMark("main window built");
    Form2 = new TForm2(Form1->startDir(), Form1);
    // Guarded: a list that cannot be read back is reported, not thrown through Qt.
    QObject::connect(Form2, &TForm2::bulletListWritten, Form1,
                     ui::guarded([] { Form1->loadBulletList(); }));
    startupMark("bullet list editor built");
    AboutBox = new TAboutBox(Form1);
    HelpForm = new THelpForm(Form1);
    startupMark("about and help built");
}

void destroyForms()
{
    // The dialogs are the main window's children and go with it.
    delete Form1;
    Form1 = nullptr;
    Form2 = nullptr;
    AboutBox = nullptr;
    HelpForm = nullptr;
}
