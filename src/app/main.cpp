#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "runtime/decimalseparator.h"

int main(int argc, char* argv[])
{
    VexorelApplication app(argc, argv);
    rt::setDecimalSeparator(systemDecimalSeparator());
    createForms();
    Form1->show();
    const int rc = app.exec();
    destroyForms();
    return rc;
}
