#include "settings/registry/Autostart.h"

#include "settings/SettingsStore.h"

namespace kadrilo {

int32_t Autostart::ReadChoice(int32_t current) {
    int32_t choice = current;
    if (registry_.ReadValue(RegistryRoot::CurrentUser, RunKey, RunValueName)) choice = 2;
    if (registry_.ReadValue(RegistryRoot::LocalMachine, RunKey, RunValueName)) choice = 1;
    return choice;
}

void Autostart::Reconcile(int32_t choice, const std::string& executable, bool isAdmin) {
    if (isAdmin) ReconcileRunEntry(RegistryRoot::LocalMachine, 1, choice, executable);
    ReconcileRunEntry(RegistryRoot::CurrentUser, 2, choice, executable);
}

void Autostart::ReconcileRunEntry(RegistryRoot root, int32_t target, int32_t choice, const std::string& executable) {
    if (!registry_.CreateKey(root, RunKey)) return;  // a Run key that can't be opened is skipped
    const std::optional<RegistryValue> entry = registry_.ReadValue(root, RunKey, RunValueName);
    if (entry) {
        if (choice != target) {
            registry_.DeleteValue(root, RunKey, RunValueName);
            return;
        }
        if (entry->kind == RegistryValue::Kind::String && entry->text == executable) return;
        registry_.DeleteValue(root, RunKey, RunValueName);
        registry_.WriteValue(root, RunKey, RunValueName, RegistryValue::Text(executable));
    } else if (choice == target) {
        registry_.WriteValue(root, RunKey, RunValueName, RegistryValue::Text(executable));
    }
}

}  // namespace kadrilo
