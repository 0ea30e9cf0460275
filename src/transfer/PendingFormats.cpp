// Stand-ins for the Tellico, GCstar and HTML formats until their own files are built in.
#include "FormatRegistry.h"

namespace
{

[[noreturn]] void notAvailable()
{
    throw TransferError{QStringLiteral("not available")};
}

} // namespace

__attribute__((weak)) std::unique_ptr<MovieReader> OpenTellicoReader(const QString &)
{
    notAvailable();
}

__attribute__((weak)) std::unique_ptr<MovieWriter> OpenTellicoWriter(const QString &, bool)
{
    notAvailable();
}

__attribute__((weak)) std::unique_ptr<MovieReader> OpenGcstarReader(const QString &)
{
    notAvailable();
}

__attribute__((weak)) std::unique_ptr<MovieWriter> OpenHtmlWriter(const QString &)
{
    notAvailable();
}
