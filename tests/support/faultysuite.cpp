#include "support/faultysuite.h"

#include "support/suitebuilder.h"

using namespace Qt::StringLiterals;

void writeFaultySuite(SuiteBuilder &builder)
{
    const auto component
        = [&builder](const QString &folder, const QByteArray &descriptor, int pictureWidth = 32) {
              builder.writeDescriptor(u"suite/"_s + folder, descriptor);
              builder.writePicture(u"suite/%1/pic.png"_s.arg(folder), Qt::blue, pictureWidth, 32);
              builder.writeMarkerScript(u"suite/%1/run"_s.arg(folder), {}, {});
          };
    builder.addComponent(u"suite/Clean"_s);
    component(u"Bad Lines"_s,
              "NAME:Bad Lines\r\nIMG:pic.png\r\nEXE:run\r\nExe:other\r\nCOLOUR:blue\r\n"
              "just words\r\nDESC:First.\r\nDESC:Second.\r\nHELP\r\n\r\n"
              "DESC[de]:Erstens.\r\nNAME[de-AT]:x\r\nEXE[de]:other\r\nTIP[de]:Tipp\r\n"
              "DESC[de]:Zweitens.\r\ndesc[de]:x\r\nDESC[en]:Second.\r\n");
    component(u"Big Picture"_s, "IMG:pic.png\r\nEXE:run\r\nDESC:Wide.\r\n", 300);
    // Sharper pictures beside it: one of the right size, one that is not.
    builder.writePicture(u"suite/Big Picture/pic@2x.png"_s, Qt::blue, 600, 64);
    builder.writePicture(u"suite/Big Picture/pic@3x.png"_s, Qt::blue, 300, 32);
    component(u"Broken Picture"_s, "IMG:broken.png\r\nEXE:run\r\nDESC:x\r\n");
    builder.writeFile(u"suite/Broken Picture/broken.png"_s, "not a picture");
    builder.writeDescriptor(u"suite/Huge Descriptor"_s, QByteArray(1024 * 1024 + 1, 'x'));
    component(u"Long Description"_s,
              "IMG:pic.png\r\nEXE:run\r\nDESC:" + QByteArray(32767, 'y') + "\r\n");
    component(u"Missing Picture"_s, "IMG:gone.png\r\nEXE:run\r\nDESC:x\r\n");
    // Its German description is too long for the counter: only a German start-up fails on it.
    component(u"Missing Program"_s,
              "IMG:pic.png\r\nEXE:gone\r\nDESC:x\r\nDESC[de]:" + QByteArray(32767, 'y') + "\r\n");
    builder.writeDescriptor(u"suite/No Keys"_s, "NAME:No Keys\r\n");
    component(u"No Program Line"_s, "IMG:pic.png\r\nDESC:x\r\n");
    builder.makeFolder(u"suite/Not A Component/kk.cfg"_s);
    component(u"Not Executable"_s, "IMG:pic.png\r\nEXE:tool\r\nDESC:x\r\n");
    builder.writeFile(u"suite/Not Executable/tool"_s, "#!/bin/sh\n");
    component(u"Search Failure"_s, QByteArray("IMG:pic.png\r\nEXE:a\0b\r\nDESC:x\r\n", 30));
    builder.writeFile(u"suite/Windows Style/KK.CFG"_s, "IMG:pic.png\r\n");
}
