#include "application.h"
#include "form_kadrix.h"
#include "memory_reuse.h"
#include "program.h"

int main(int argc, char** argv) {
    kadrix::tuneMemoryForPictures();
    kadrix::PictureTypes pictureTypes; // before any window exists
    kadrix::Application app(argc, argv);
    kadrix::setProgramIdentity();
    kadrix::Forms forms;
    forms.FormKadrix->show();
    return app.exec();
}
