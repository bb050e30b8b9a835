#pragma once

#include <memory>

// Each form is used through one shared instance named like the form: created
// on first use, and created anew (fresh controls and form state) after the
// form is unloaded and released.
//
//   FrmImportar::instance().show...;  FrmImportar::release();
template <class Form>
class SharedForm {
public:
    static Form& instance()
    {
        if (!slot())
            slot() = std::make_unique<Form>();
        return *slot();
    }
    static bool exists() { return slot() != nullptr; }
    // Unload and set to nothing.
    static void release() { slot().reset(); }

private:
    static std::unique_ptr<Form>& slot()
    {
        static std::unique_ptr<Form> form;
        return form;
    }
};
