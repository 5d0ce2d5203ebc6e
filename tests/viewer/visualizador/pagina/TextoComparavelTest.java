package visualizador.pagina;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;

import java.nio.charset.StandardCharsets;
import java.util.Locale;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

class TextoComparavelTest {
    /** As Java lower-cases a whole string, in UTF-8: one, two, three and four bytes a character. */
    @ParameterizedTest
    @ValueSource(strings = {"ARROZ Tio João 5KG", "AÇÚCAR ÚNICO ÓLEO ÀÉÎÕÜ", "EMOJI 😀 NO NOME 🍕", "ΑΒΓ ДЖЯ ẞ 茶 ⏚",
        "𝔸 𐐀𐐁 (Deseret, lower-cased beyond 16 bits)", "REF-001165 0,182 15/06/2010 …", ""})
    void comoOJavaEmMinusculas(String s) {
        assertArrayEquals(s.toLowerCase(Locale.ROOT).getBytes(StandardCharsets.UTF_8), TextoComparavel.de(s));
    }

    /** Half a surrogate pair, which no text from the database holds whole, becomes '?' rather than bad UTF-8. */
    @Test
    void surrogateSozinho() {
        assertArrayEquals("a?b?".getBytes(StandardCharsets.US_ASCII), TextoComparavel.de("A\ud83dB\ude00"));
    }
}
