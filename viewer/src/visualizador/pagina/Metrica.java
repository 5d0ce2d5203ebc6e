package visualizador.pagina;

/**
 * A font as a page measures its text: advance widths in thousandths of the font size. A surrogate
 * pair is one character, measured at its first half.
 */
public interface Metrica {
    /** Ends a text cut short. */
    char RETICENCIAS = '\u2026';

    float largura(char c);

    float largura(CharSequence s);

    /** The width of {@code s}, or, once past {@code maximo}, some width beyond it (no need to go on). */
    float largura(CharSequence s, float maximo);

    float largura(CharSequence s, int inicio, int fim);

    /** The end of the longest piece of {@code s} from {@code inicio} that fits in {@code maximo}. */
    int caber(CharSequence s, int inicio, float maximo);

    /** How many leading characters of {@code s} fit in {@code maximo}. */
    default int caber(CharSequence s, float maximo) {
        return caber(s, 0, maximo);
    }
}
