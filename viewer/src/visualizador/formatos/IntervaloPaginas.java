package visualizador.formatos;

import java.util.regex.Matcher;
import java.util.regex.Pattern;
import visualizador.ErroRelatorio;

/**
 * Pages {@code primeira} to {@code ultima} of a report, both counted from 1 and included, as the
 * user types them: "3-7" (or "3–7", "3 a 7"), or one page, "5". Empty means the whole report.
 */
public record IntervaloPaginas(int primeira, int ultima) {
    private static final Pattern FORMA = Pattern.compile("(\\d{1,9})(?:\\s*(?:-|–|a)\\s*(\\d{1,9}))?");

    public IntervaloPaginas {
        if (primeira < 1 || ultima < primeira)
            throw new IllegalArgumentException("intervalo de páginas inválido: " + primeira + "-" + ultima);
    }

    /** The range typed, or null for the whole report (nothing typed). */
    public static IntervaloPaginas analisar(String texto) throws ErroRelatorio {
        final String t = texto == null ? "" : texto.strip();
        if (t.isEmpty()) return null;
        final Matcher m = FORMA.matcher(t);
        if (!m.matches())
            throw new ErroRelatorio("Páginas \"" + t + "\": escreva a primeira e a última página, como 3-7, ou uma só "
                    + "página, como 5; em branco, todas.");
        final int primeira = Integer.parseInt(m.group(1));
        final int ultima = m.group(2) == null ? primeira : Integer.parseInt(m.group(2));
        if (primeira < 1) throw new ErroRelatorio("Páginas \"" + t + "\": a primeira página é a 1.");
        if (ultima < primeira)
            throw new ErroRelatorio("Páginas \"" + t + "\": a última página vem antes da primeira; escreva "
                    + ultima + "-" + primeira + ".");
        return new IntervaloPaginas(primeira, ultima);
    }

    /** Refuses a range beyond the report's {@code total} pages. */
    public void verificar(int total) throws ErroRelatorio {
        if (ultima > total)
            throw new ErroRelatorio("Páginas " + this + ": o relatório tem " + total
                    + (total == 1 ? " página." : " páginas."));
    }

    public int quantas() {
        return ultima - primeira + 1;
    }

    @Override
    public String toString() {
        return primeira == ultima ? String.valueOf(primeira) : primeira + "-" + ultima;
    }
}
