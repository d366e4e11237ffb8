#include "shell/help_texts.h"

namespace rc {

// The texts are shown as they stand, odd characters included: slot 2 ends with a full stop and
// a double quote, slot 3 has no final full stop, slots 4 and 8 end with a blank.
const std::array<QString, 9>& helpTextTable() {
    static const std::array<QString, 9> texts = {
        QStringLiteral(
            "Este apartado nos permite visualizar una fracción. Cada círculo representa una "
            "unidad. Al hacer clic en los botones + y - observaremos que cambia la "
            "representación gráfica de la fracción."),
        QStringLiteral(
            "Amplificar consiste en calcular una fracción equivalente, es decir, de igual "
            "cantidad o mismo cociente, pero con números más grandes. Para ello, debemos "
            "multiplicar el numerador y el denominador por un mismo número."),
        QStringLiteral(
            "Simplificar consiste en calcular una fracción equivalente, es decir, de igual "
            "cantidad o mismo cociente, pero con números más pequeños. Para ello, debemos "
            "dividir el numerador y el denominador por un mismo número.\""),
        QStringLiteral(
            "Para sumar o restar fracciones, primero se deben calcular las fracciones "
            "equivalentes respectivas que tengan el mismo denominador. Una vez conseguido este "
            "propósito sumaremos o restaremos los numeradores"),
        QStringLiteral(
            "Para empezar la actividad de simplificar debemos hacer clic sobre el (?). También "
            "nos permite cambiar los números de la fracción primera haciendo clic sobre ellos. "),
        QStringLiteral(
            "Para realizar la SUMA o RESTA, tendremos que encontrar un MULTIPLO COMÚN a las tres "
            "fracciones. A ser posible el COMÚN MÁS PEQUEÑO: MÍNIMO COMÚN MÚLTIPLO (MCM). Este "
            "múltiplo se ha de marcar en las tres listas de múltiplos."),
        // Division multiplies numerator 1 by denominator 2 and denominator 1 by numerator 2,
        // as the multiply/divide exercise judges it.
        QStringLiteral(
            "La MULTIPLICACIÓN de dos fracciones se realiza multiplicando numerador1 X "
            "numerador2 y denominador1 X denominador2. La DIVISIÓN en cambio, se realiza "
            "multiplicando el numerador1 X denominador2 y el denominador1 X el numerador2."),
        QStringLiteral(
            "Mejora tus conocimientos MATEMÁTICOS con este programa. Selecciona el botón del "
            "menú que quieras realizar. LAS FRACCIONES."),
        QStringLiteral(
            "El denominador nos representa el número de partes iguales que divide cada unidad. "
            "El numerador nos respresenta el número de partes iguales que se han "
            "seleccionado. "),
    };
    return texts;
}

QString notDivisibleMessage() {
    return QStringLiteral(
        "Esta fracción no puede simplificarse por el número seleccionado porque el numerador "
        "o el denominador o los dos no son divisibles por el número seleccionado.");
}

}  // namespace rc
