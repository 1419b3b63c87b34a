#include "state/catalogue.h"

int ImageCatalogue::LoadImageList(const std::string&) { return 0; }
void ImageCatalogue::SaveImageList(const std::string&) const {}
int ImageCatalogue::ScanFolder(const std::string&) { return 0; }
void ImageCatalogue::Refill() {}
std::string FolderOfEntry(const std::string& entry) { return entry.substr(0, entry.find(',')); }
