#pragma once

#include <QLineEdit>

class UserPrompts;

// "Pick Implant ID:": the implant whose logger the base station is to reach.
// It holds an integer; only its low eight bits go to the base station.
class ImplantIdField final : public QLineEdit {
    Q_OBJECT
public:
    explicit ImplantIdField(QWidget* parent = nullptr);

    // The integer in the field. Anything else brings "Enter an integer." and
    // gives the previous value, which the field shows again.
    int take(UserPrompts& prompts);

private:
    int m_value = 0;
};
