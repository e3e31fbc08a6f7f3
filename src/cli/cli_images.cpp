// SPDX-License-Identifier: MIT
#include "cli/cli_images.h"

#include "images/colour_map.h"
#include "images/png_header.h"
#include "images/png_palette.h"

namespace orin::cli {

namespace {

int UsageError(Streams io, const QString &problem)
{
    io.err << problem << '\n' << "Run \"orinedit-cli --help\" for the commands.\n";
    return kExitUsage;
}

} // namespace

int Clut(const QStringList &args, Streams io)
{
    if (args.size() > 1)
        return UsageError(io, QStringLiteral("clut takes at most one FILE.clt"));
    CColourMap map;
    int code = kExitOk;
    if (!args.isEmpty()) {
        QString why;
        if (!map.LoadColourMap(args.first(), &why)) {
            io.err << args.first() << ": " << why << "; the built-in colour map applies\n";
            code = kExitFileError;
        }
    }
    for (int index = 0; index < 256; ++index) {
        const ColourEntry c = map.ColourOf(index);
        io.out << index << ' ' << c.r << ' ' << c.g << ' ' << c.b << ' ' << c.a << '\n';
    }
    return code;
}

int Palette(const QStringList &args, Streams io)
{
    QStringList files;
    QString clut;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == u"--clut") {
            if (i + 1 >= args.size())
                return UsageError(io, QStringLiteral("--clut needs a FILE.clt"));
            clut = args.at(++i);
        } else {
            files << args.at(i);
        }
    }
    if (files.size() != 2)
        return UsageError(io, QStringLiteral("palette takes IN.png and OUT.png"));
    const QString &in = files.at(0);
    const QString &out = files.at(1);

    CColourMap map;
    if (!clut.isEmpty()) {
        QString why;
        if (!map.LoadColourMap(clut, &why)) {
            io.err << clut << ": " << why << '\n';
            return kExitFileError;
        }
    }
    const int kind = IsColourMapPng(in);
    if (kind == kNotPngFile) {
        io.err << in << ": not a PNG file, or it cannot be read\n";
        return kExitFileError;
    }
    QString why;
    if (!InsertPalette(in, out, map, &why)) {
        io.err << why << '\n';
        return kExitFileError;
    }
    io.out << out
           << (kind == kColourMapPng ? QStringLiteral(": the colour map is its palette")
                                     : QStringLiteral(": copied unchanged (not a colour-map PNG)"))
           << '\n';
    return kExitOk;
}

} // namespace orin::cli
