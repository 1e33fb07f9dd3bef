#include "audio/FluidHandles.h"

#include <cstdio>
#include <mutex>

namespace
{
thread_local TFluidErrorScope* CurrentScope = nullptr;
} // namespace

struct TFluidLog
{
    static void Handle(int level, const char* message, void* /*data*/)
    {
        if (level != FLUID_PANIC && level != FLUID_ERR)
            return;
        if (TFluidErrorScope* scope = CurrentScope)
        {
            if (!scope->FErrors.empty())
                scope->FErrors += "; ";
            scope->FErrors += message;
            return;
        }
        std::fprintf(stderr, "fluidsynth: error: %s\n", message);
    }
};

TFluidErrorScope::TFluidErrorScope() : FOuter(CurrentScope)
{
    InstallLogHandler();
    CurrentScope = this;
}

TFluidErrorScope::~TFluidErrorScope()
{
    CurrentScope = FOuter;
}

std::string TFluidErrorScope::Reason() const
{
    return FErrors.empty() ? std::string() : " (" + FErrors + ")";
}

void TFluidErrorScope::InstallLogHandler()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
                           fluid_set_log_function(level, &TFluidLog::Handle, nullptr);
                   });
}
