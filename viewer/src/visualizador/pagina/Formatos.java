package visualizador.pagina;

import java.math.BigDecimal;
import java.math.RoundingMode;
import java.text.DecimalFormat;
import java.text.DecimalFormatSymbols;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.time.format.DateTimeFormatter;
import java.util.Locale;
import visualizador.design.Coluna;

/** Brazilian forms of numbers and dates: 1.234,56 and dd/mm/aaaa. */
public final class Formatos {
    public static final String NENHUM_REGISTRO = "Nenhum registro para os filtros escolhidos.";
    public static final String SEM_FILTROS = "Sem filtros";
    private static final DateTimeFormatter DATA = DateTimeFormatter.ofPattern("dd/MM/uuuu");
    private static final DateTimeFormatter DATA_HORA = DateTimeFormatter.ofPattern("dd/MM/uuuu HH:mm:ss");
    private static final DecimalFormatSymbols SIMBOLOS = DecimalFormatSymbols.getInstance(Locale.forLanguageTag("pt-BR"));

    // DecimalFormat is costly to build and not thread-safe: one set per thread.
    private static final ThreadLocal<DecimalFormat[]> FORMATOS = ThreadLocal.withInitial(() -> new DecimalFormat[8]);

    private Formatos() {}

    public static String data(LocalDate d) {
        return DATA.format(d);
    }

    public static String dataHora(LocalDateTime d) {
        return DATA_HORA.format(d);
    }

    /** A number with thousands separators and exactly {@code casas} decimals. */
    public static String numero(BigDecimal v, int casas) {
        final DecimalFormat[] cache = FORMATOS.get();
        if (casas >= cache.length) return formato(casas).format(v);
        if (cache[casas] == null) cache[casas] = formato(casas);
        return cache[casas].format(v);
    }

    private static DecimalFormat formato(int casas) {
        final DecimalFormat f = new DecimalFormat(casas == 0 ? "#,##0" : "#,##0." + "0".repeat(casas), SIMBOLOS);
        f.setRoundingMode(RoundingMode.HALF_UP);
        return f;
    }

    public static String inteiro(long v) {
        return numero(BigDecimal.valueOf(v), 0);
    }

    /** A cell as it prints; empty for null. */
    public static String texto(Coluna coluna, Object valor) {
        if (valor == null) return "";
        return switch (coluna.tipo()) {
            case NUMERO -> numero((BigDecimal) valor, coluna.casas());
            case DATA -> data((LocalDate) valor);
            case INTEIRO, TEXTO -> valor.toString();
        };
    }

    /** "1 página" / "1.234 páginas". */
    public static String paginas(long n) {
        return inteiro(n) + (n == 1 ? " página" : " páginas");
    }

    /** "1 linha" / "1.234 linhas". */
    public static String linhas(long n) {
        return inteiro(n) + (n == 1 ? " linha" : " linhas");
    }
}
