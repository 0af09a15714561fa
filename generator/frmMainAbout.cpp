// The About command of the main window: the about box of Quorrel, filled
// from the program's application object.
#include "frmMain.h"

#include "AppInfo.h"
#include "AppObject.h"
#include "frmMainWindow.h"

#include "automation/ClassRegistry.h"
#include "automation/StdPicture.h"
#include "quorrel/TypeLibrary.h"
#include "ui/WindowObject.h"

#include <QPushButton>

namespace {

// Quorrel's global object, created by class id on first use and kept until
// the program ends. The class registry finds the library through its
// registration in the hive; the program does not link it.
automation::ObjectRef miscObject()
{
    static automation::ObjectRef misc;
    if (!misc)
        misc = automation::ClassRegistry::instance().createObject(quorrel::kGMiscClassId);
    return misc;
}

} // namespace

void frmMain::cmdAbout_Click()
{
    frmMainWindow& w = window();
    std::vector<automation::Variant> args{
        AppObject::instance(),
        ui::WindowObject::create(&w),
        automation::StdPicture::fromIcon(w.windowIcon()),
        automation::ObjectRef(), // no font
        QString(),               // no notes
        true,                    // the System Info button
    };
    miscObject()->invoke(quorrel::GMiscDispId::DoAboutBox2, automation::MemberKind::Method, args);
}
