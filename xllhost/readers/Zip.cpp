#include "readers/Zip.h"

#include <zip.h>

namespace xllhost {
namespace {

int Close(zip* archive) {
  zip_discard(archive);  // read only: nothing to write back
  return 0;
}

std::string Said(zip_error_t* error) {
  std::string said = zip_error_strerror(error);
  zip_error_fini(error);
  return said;
}

}  // namespace

bool ZipArchive::OpenFile(const std::string& path, std::string* why) {
  int code = 0;
  zip* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    *why = Said(&error);
    return false;
  }
  archive_ = {archive, Close};
  return true;
}

bool ZipArchive::OpenBytes(const std::string& bytes, std::string* why) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip* archive = source == nullptr ? nullptr : zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (archive == nullptr) {
    if (source != nullptr) zip_source_free(source);
    *why = Said(&error);
    return false;
  }
  zip_error_fini(&error);
  archive_ = {archive, Close};
  return true;
}

bool ZipArchive::Has(const std::string& part) const {
  return zip_name_locate(archive_.get(), part.c_str(), 0) >= 0;
}

bool ZipArchive::Read(const std::string& part, const std::function<bool(const char*, std::size_t)>& take,
                      std::string* why, std::size_t most) const {
  const zip_int64_t index = zip_name_locate(archive_.get(), part.c_str(), 0);
  if (index < 0) return *why = part + " is missing", false;
  const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen_index(archive_.get(), index, 0), zip_fclose);
  if (file == nullptr) return *why = part + ": " + zip_strerror(archive_.get()), false;
  char piece[1 << 16];
  std::size_t total = 0;
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), piece, sizeof piece);
    if (got < 0) return *why = part + ": " + zip_file_strerror(file.get()), false;
    if (got == 0) return true;
    total += static_cast<std::size_t>(got);
    if (total > most) return *why = part + " inflates past " + std::to_string(most >> 20) + " MiB", false;
    if (!take(piece, static_cast<std::size_t>(got))) return true;
  }
}

}  // namespace xllhost
