// krvdiag-picgen OUTDIR: draws the device pictures the model catalogue names (module fronts and
// wiring pictures) as placeable Windows metafiles into OUTDIR. Run by the build.
#include <exception>
#include <filesystem>
#include <iostream>

#include "ModuleFront.hpp"
#include "PictureSet.hpp"
#include "WiringPicture.hpp"
#include "WmfCanvas.hpp"

int main(int argc, char** argv) {
    using namespace krv::picgen;
    if (argc != 2) {
        std::cerr << "usage: krvdiag-picgen OUTDIR\n";
        return 2;
    }
    try {
        const std::filesystem::path dir(argv[1]);
        std::filesystem::create_directories(dir);

        const std::vector<ModulePicture> modules = modulePictures();
        const int nameHeight = namePlateHeight(modules);
        for (const ModulePicture& p : modules) {
            const krv::app::TwipRect area = moduleArea(p.modul);
            WmfCanvas canvas((dir / p.file).string(), area.width, area.height);
            drawModuleFront(canvas, p, nameHeight);
            canvas.finish();
        }
        const krv::app::TwipRect wiringArea = krv::device::kPlatzImgStrom;
        const std::vector<WiringPicture> wirings = wiringPictures();
        for (const WiringPicture& p : wirings) {
            WmfCanvas canvas((dir / p.file).string(), wiringArea.width, wiringArea.height);
            drawWiringPicture(canvas, p);
            canvas.finish();
        }
        std::cout << "krvdiag-picgen: " << modules.size() + wirings.size() << " pictures in " << dir.string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "krvdiag-picgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
