#pragma once

#include "ForeignReader.h"

#include <array>

// A movie of an Ant Movie Catalog catalog as its file gives it: the program's own fields
// by name, and its custom fields.
struct AmcMovie {
    // The program's fields, in the order of the XML catalog's attribute names (kAmcFieldNames).
    enum Field : int {
        Number,
        Checked,
        ColorTag,
        MediaLabel,
        MediaType,
        Source,
        Date,
        Borrower,
        DateWatched,
        UserRating,
        Rating,
        OriginalTitle,
        TranslatedTitle,
        FormattedTitle,
        Director,
        Producer,
        Writer,
        Composer,
        Actors,
        Country,
        Year,
        Length,
        Category,
        Certification,
        URL,
        Description,
        Comments,
        FilePath,
        VideoFormat,
        VideoBitrate,
        AudioFormat,
        AudioBitrate,
        Resolution,
        Framerate,
        Languages,
        Subtitles,
        Size,
        Disks,
        Picture,
        FieldCount
    };
    std::array<QString, FieldCount> fields;
    struct Custom {
        QString name;
        QString value;
    };
    QList<Custom> custom;
};

extern const std::array<const char *, AmcMovie::FieldCount> kAmcFieldNames;

// Puts an Ant Movie Catalog movie into the catalog's columns; the readers of both kinds of
// catalog derive from it.
class AmcReaderBase : public ForeignReader
{
  protected:
    MovieRow toRow(const AmcMovie &movie, const QString &where);

  private:
    void setCustom(ForeignMovie &out, const QList<AmcMovie::Custom> &custom);
};
