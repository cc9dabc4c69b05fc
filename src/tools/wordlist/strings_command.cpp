#include "tools/wordlist/strings_command.h"

#include "core/strings/strings_file.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "tools/wordlist/options.h"
#include "tools/wordlist/usage.h"

namespace wordlist {

int StringsCommand(const std::vector<std::string>& args) {
    if (args.size() != 4 || (args[1] != "pack" && args[1] != "unpack")) return Fail("bad arguments\n" + Usage());
    std::string in, out, error;
    if (!platform::ReadFileBytes(args[2], in)) return Fail("cannot read " + args[2]);
    if (args[1] == "pack") {
        if (!PackStrings(in, out, error)) return Fail(args[2] + ": " + error);
    } else {
        out = UnpackStrings(in);
    }
    if (platform::ReplaceFileWith(args[3], out) != 0) return Fail("cannot write " + args[3]);
    return 0;
}

}  // namespace wordlist
