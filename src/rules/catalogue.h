// The picture catalogue: the folder of numbered pictures beside the program
// file and the count of consecutive pictures in it from 1 upwards.
#pragma once

#include <string>

namespace tintbox {

// Picture numbers are 16-bit: the count stops at this many pictures.
inline constexpr int MaxPictures = 65535;

// The program file's folder followed by "img", with no delimiter at the end:
// "/opt/tintbox/tintbox" -> "/opt/tintbox/img"; a bare "tintbox" -> "img".
std::string ImagesPathFor(const std::string& AProgramFile);

// A folder of pictures named by the player, as ImagesPath: without the
// delimiters at its end ("pics/" -> "pics"), but "/" stays "/".
std::string ImagesPathOf(const std::string& AFolder);

// The full file name of picture n: "<AImagesPath>/<n>.bmp".
std::string PictureFileName(const std::string& AImagesPath, int n);

// True when AFileName names something that can be a picture file: an entry
// that is not a folder (a symbolic link counts when its target can be opened).
bool PictureFileExists(const std::string& AFileName);

// N: the pictures 1.bmp, 2.bmp, ... that exist without a gap, at most
// MaxPictures. Only existence is tested, not whether a file can be read.
// An empty path names no folder: 0.
int CountPictures(const std::string& AImagesPath);

}  // namespace tintbox
