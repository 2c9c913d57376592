// A scratch folder for tests on real files, removed with its contents.
#ifndef GLYPHROW_TESTS_SCRATCH_H
#define GLYPHROW_TESTS_SCRATCH_H

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>

class Scratch {
public:
    Scratch()
    {
        char pattern[] = "/tmp/glyphrow-test-XXXXXX";
        root_ = mkdtemp(pattern);
    }
    ~Scratch() { std::system(("rm -rf '" + root_ + "'").c_str()); }
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;

    std::string path(const std::string &name) const { return root_ + "/" + name; }
    const std::string &root() const { return root_; }

private:
    std::string root_;
};

inline void write_file(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline bool file_exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The names in a folder, "." and ".." included: to see what a run created.
inline std::set<std::string> names_in(const std::string &folder)
{
    std::set<std::string> names;
    if (DIR *d = opendir(folder.c_str())) {
        while (dirent *e = readdir(d))
            names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

#endif
