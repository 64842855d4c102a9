// The program itself, telling how many bids its queue holds once the window shows, and when the
// window is up with "about:blank" loaded.
#include "readyreport.h"

#include "app/kavelinmain.h"
#include "browser/browserpage.h"
#include "browser/tchromium.h"
#include "ui/queueserver.h"
#include "ui/queuestore.h"
#include "ui/tmain_form.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    return kavelinMain(argc, argv, [](TMain_Form &form) {
        std::printf("queue %lld\n", qint64(form.Fronta->store()->bids().size()));
        std::fflush(stdout);
        reportWhenReady(&form, form.Chromium1->page());
    });
}
