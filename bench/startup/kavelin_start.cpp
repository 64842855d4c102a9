// The program itself, reporting when its window is up with "about:blank" loaded.
#include "readyreport.h"

#include "app/kavelinmain.h"
#include "browser/tchromium.h"
#include "browser/browserpage.h"
#include "ui/tmain_form.h"

int main(int argc, char *argv[])
{
    return kavelinMain(argc, argv, [](TMain_Form &form) {
        reportWhenReady(&form, form.Chromium1->page());
    });
}
