#include "Artwork.h"

#include "AboutPictures.h"
#include "ButtonPicture.h"
#include "Emblem.h"
#include "Pixels.h"
#include "SplashPicture.h"

namespace artwork {

QList<ArtworkFile> RenderArtwork() {
    QList<ArtworkFile> files;
    for (ButtonKind kind : kButtonKinds)
        files.append({"buttons/" + ButtonName(kind) + ".bmp", EncodeBmp(ButtonPicture(kind))});
    files.append({"about/Logo.bmp", EncodeBmp(LogoPicture())});
    files.append({"about/Icon.bmp", EncodeBmp(ProgramIconPicture())});
    files.append({"about/Credits.bmp", EncodeBmp(CreditsPicture())});
    files.append({"splash/Splash.bmp", EncodeBmp(SplashPicture())});
    files.append({"icons/chesszel.svg", EmblemSvg()});
    for (int size : kIconSizes)
        files.append({QString("icons/hicolor/%1x%1/apps/chesszel.png").arg(size),
                      EncodePng(RenderEmblem(size))});
    return files;
}

} // namespace artwork
