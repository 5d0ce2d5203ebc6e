package visualizador.formatos;

import java.util.List;
import visualizador.design.Alinhamento;
import visualizador.design.Coluna;

/** The looks of the report's cells: one per kind of cell, shared by every cell of that kind. */
final class EstilosXls {
    final EstiloXls titulo = new EstiloXls(null, Alinhamento.ESQUERDA, EstiloXls.Fonte.NEGRITO, true);
    final EstiloXls tituloRelatorio = new EstiloXls(null, Alinhamento.ESQUERDA, EstiloXls.Fonte.GRANDE, false);
    final EstiloXls rotuloTotal = new EstiloXls(null, Alinhamento.ESQUERDA, EstiloXls.Fonte.NEGRITO, false);
    final EstiloXls texto = new EstiloXls(null, Alinhamento.ESQUERDA, EstiloXls.Fonte.NORMAL, false);
    final EstiloXls textoLargo = new EstiloXls(null, Alinhamento.ESQUERDA, EstiloXls.Fonte.NORMAL, false, true);
    final EstiloXls inteiro = new EstiloXls("#,##0", Alinhamento.DIREITA, EstiloXls.Fonte.NORMAL, false);
    final EstiloXls inteiroTotal = new EstiloXls("#,##0", Alinhamento.DIREITA, EstiloXls.Fonte.NEGRITO, false);
    /** The grand total's count of lines, a number that reads "8.073 linhas". */
    final EstiloXls linhasTotal = new EstiloXls("[=1]0\" linha\";#,##0\" linhas\"", Alinhamento.ESQUERDA,
            EstiloXls.Fonte.NEGRITO, false);
    private final EstiloXls[] dado;
    private final EstiloXls[] total;

    EstilosXls(List<Coluna> colunas) {
        dado = new EstiloXls[colunas.size()];
        total = new EstiloXls[colunas.size()];
        for (int i = 0; i < dado.length; i++) {
            final Coluna c = colunas.get(i);
            dado[i] = new EstiloXls(formato(c), c.alinhamento(), EstiloXls.Fonte.NORMAL, false);
            total[i] = new EstiloXls(formato(c), c.alinhamento(), EstiloXls.Fonte.NEGRITO, false);
        }
    }

    EstiloXls dado(int coluna) {
        return dado[coluna];
    }

    EstiloXls total(int coluna) {
        return total[coluna];
    }

    /** Negative figures show in red: a stock audit looks for exactly those lines. */
    static String formato(Coluna c) {
        return switch (c.tipo()) {
            case NUMERO -> {
                final String n = c.casas() > 0 ? "#,##0." + "0".repeat(c.casas()) : "#,##0";
                yield n + ";[Red]-" + n;
            }
            case INTEIRO -> "0";
            case DATA -> "dd/mm/yyyy";
            case TEXTO -> null;
        };
    }
}
