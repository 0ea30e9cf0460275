#include "frmTarsel.h"

void frmTarsel::PrintMovie()
{
}
