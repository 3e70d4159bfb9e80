#include "adventure/train_map.h"

#include <string>

#include "adventure/train_map_screen.h"

namespace {

// The folder of the image kind that holds the map's pictures.
constexpr const char* kPictureFolder = "visual";

}  // namespace

bool BuiltinTrainMapOpen(const ScriptArguments& arguments) {
    const std::string path = std::string(kPictureFolder) + "\\" + arguments.String(1);
    TrainMapScreen::Open(path.c_str());
    return false;
}

bool BuiltinTrainMapStation(const ScriptArguments& arguments) {
    TrainMapScreen::AddStation(arguments.Long(1, 0), arguments.String(2), arguments.Long(3, 0),
                               arguments.Long(4, 0));
    return true;
}

bool BuiltinTrainMapFigure(const ScriptArguments& arguments) {
    TrainMapScreen::AddFigure(arguments.Long(1, 0), arguments.Long(2, 0), arguments.Long(3, 0));
    return true;
}

bool BuiltinTrainMapCalendar(const ScriptArguments& arguments) {
    TrainMapScreen::SetOrigin(arguments.Long(1, 0), arguments.Long(2, 0));
    return true;
}
